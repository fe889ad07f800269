#include "db/RegionalCompanies.h"

namespace viamappa {

namespace {

// The regional codes of the transport companies: code 0 for a company not yet assigned, "vuoto" for
// the codes not in use.
constexpr std::string_view kCompanies[kRegionalCompanyCount] = {
    "*** azienda non assegnata ***",             // 0
    "Mobilità Valverde",                         // 1
    "Trasporti Colle Ventoso S.p.A.",            // 2
    "vuoto",                                     // 3
    "vuoto",                                     // 4
    "Mobilità Valcerna S.p.A.",                  // 5
    "Trasporto Pubblico Collina d'Oro S.p.A.",   // 6
    "Mobilità Val Ciuffa S.n.c.",                // 7
    "Mobilità Montemiglio Soc. Coop.",           // 8
    "vuoto",                                     // 9
    "vuoto",                                     // 10
    "vuoto",                                     // 11
    "vuoto",                                     // 12
    "vuoto",                                     // 13
    "Società Autolinee Valcerna",                // 14
    "Società Autolinee Vallelonga S.c.a.r.l.",   // 15
    "Mobilità Poggio Aurelio S.n.c.",            // 16
    "vuoto",                                     // 17
    "Mobilità Terre Basse Soc. Coop.",           // 18
    "Servizi Autobus Costa Serena Soc. Coop.",   // 19
    "Autoservizi Pietrabianca",                  // 20
    "vuoto",                                     // 21
    "vuoto",                                     // 22
    "vuoto",                                     // 23
    "Navette Valverde S.r.l.",                   // 24
    "Linee Extraurbane Piana del Sole S.n.c.",   // 25
    "Mobilità Campolargo Soc. Coop.",            // 26
    "Navette Valdibosco S.r.l.",                 // 27
    "Autoservizi Costa Serena S.p.A.",           // 28
    "vuoto",                                     // 29
    "Autoservizi Vallelonga S.p.A.",             // 30
    "Navette Selvanera S.p.A.",                  // 31
    "vuoto",                                     // 32
    "vuoto",                                     // 33
    "vuoto",                                     // 34
    "Azienda Trasporti Monte Cervo S.r.l.",      // 35
    "vuoto",                                     // 36
    "vuoto",                                     // 37
    "vuoto",                                     // 38
    "Trasporti Campo delle Gazze S.r.l.",        // 39
    "vuoto",                                     // 40
    "vuoto",                                     // 41
    "vuoto",                                     // 42
    "Società Autolinee Piana del Sole S.r.l.",   // 43
    "Autoservizi Valverde S.c.a.r.l.",           // 44
    "Servizi Autobus Fontanelle Soc. Coop.",     // 45
    "Azienda Trasporti Pietrabianca S.r.l.",     // 46
    "vuoto",                                     // 47
    "Servizi Autobus Montebrando S.p.A.",        // 48
    "vuoto",                                     // 49
    "Trasporti Passo del Cuculo S.n.c.",         // 50
    "Autolinee Pian di Sasso",                   // 51
    "Società Autolinee Riva Chiara S.c.a.r.l.",  // 52
    "Trasporto Pubblico Bassa Valmora",          // 53
    "vuoto",                                     // 54
    "Autotrasporti Viaggiatori Valverde",        // 55
    "vuoto",                                     // 56
    "Autocorse Valsecca S.p.A.",                 // 57
    "vuoto",                                     // 58
    "Azienda Trasporti Serrabianca S.c.a.r.l.",  // 59
    "vuoto",                                     // 60
    "vuoto",                                     // 61
    "vuoto",                                     // 62
    "Autoservizi Colle Ventoso S.c.a.r.l.",      // 63
    "Trasporto Pubblico Valverde S.p.A.",        // 64
    "vuoto",                                     // 65
    "vuoto",                                     // 66
    "vuoto",                                     // 67
    "vuoto",                                     // 68
    "Navette Colle Ventoso",                     // 69
    "Consorzio Trasporti Pietrabianca S.r.l.",   // 70
    "Autoservizi Poggio Aurelio",                // 71
    "Linee Extraurbane Rocca Alta S.p.A.",       // 72
    "vuoto",                                     // 73
    "vuoto",                                     // 74
    "vuoto",                                     // 75
    "Società Autolinee Bassa Valmora",           // 76
    "Autoservizi Piana del Sole S.p.A.",         // 77
    "Consorzio Trasporti Selvanera S.n.c.",      // 78
    "Consorzio Trasporti Sorgenti S.c.a.r.l.",   // 79
    "Trasporto Pubblico Monte Cervo S.r.l.",     // 80
    "Autolinee Fontanelle S.c.a.r.l.",           // 81
    "Autocorse Pietrabianca S.n.c.",             // 82
    "Navette Rocca Alta S.n.c.",                 // 83
    "Autoservizi Valle Argentina S.p.A.",        // 84
    "vuoto",                                     // 85
    "Mobilità Pietrabianca Soc. Coop.",          // 86
    "vuoto",                                     // 87
    "vuoto",                                     // 88
    "vuoto",                                     // 89
    "Mobilità Prato Lungo S.p.A.",               // 90
    "Trasporti Pietrabianca S.p.A.",             // 91
    "vuoto",                                     // 92
    "vuoto",                                     // 93
    "Linee Extraurbane Monte Cervo S.c.a.r.l.",  // 94
    "Autocorse Pian di Sasso S.c.a.r.l.",        // 95
    "vuoto",                                     // 96
    "Azienda Trasporti Prato Lungo S.n.c.",      // 97
    "Mobilità Colle Ventoso S.c.a.r.l.",         // 98
    "vuoto",                                     // 99
    "Trasporti Costa Serena Soc. Coop.",         // 100
    "Trasporto Pubblico Fontanelle S.p.A.",      // 101
    "Linee Extraurbane Val di Lame Soc. Coop.",  // 102
    "Autocorse Pietrabianca S.c.a.r.l.",         // 103
    "Autolinee Terre Basse Soc. Coop.",          // 104
    "Trasporto Pubblico Valverde",               // 105
    "Autocorse Selvanera Soc. Coop.",            // 106
    "vuoto",                                     // 107
    "vuoto",                                     // 108
    "vuoto",                                     // 109
    "Navette Lago Scuro S.r.l.",                 // 110
    "Autolinee Borgo Fiorito S.p.A.",            // 111
    "Autocorse Valverde S.p.A.",                 // 112
    "vuoto",                                     // 113
    "Autoservizi Val di Lame S.c.a.r.l.",        // 114
    "vuoto",                                     // 115
    "vuoto",                                     // 116
    "Autocorse Colle Ventoso Soc. Coop.",        // 117
    "Azienda Trasporti Valle Argentina S.n.c.",  // 118
    "Autocorse Val Ciuffa S.n.c.",               // 119
    "Autoservizi Selvanera S.p.A.",              // 120
    "Autocorse Vallelonga S.c.a.r.l.",           // 121
    "Autolinee Poggio Aurelio Soc. Coop.",       // 122
    "Società Autolinee Lago Scuro S.p.A.",       // 123
    "Trasporti Borgo Fiorito S.n.c.",            // 124
    "vuoto",                                     // 125
    "Società Autolinee Poggio Aurelio S.r.l.",   // 126
    "vuoto",                                     // 127
    "Autocorse Poggio Aurelio S.r.l.",           // 128
    "Navette Montebrando S.n.c.",                // 129
    "Autocorse Borgo Fiorito S.c.a.r.l.",        // 130
    "vuoto",                                     // 131
    "Autocorse Costa Serena S.p.A.",             // 132
    "vuoto",                                     // 133
    "vuoto",                                     // 134
    "Trasporto Pubblico Castelrotondo S.r.l.",   // 135
    "Trasporto Pubblico Campolargo S.r.l.",      // 136
    "vuoto",                                     // 137
    "Società Autolinee Lago Scuro S.n.c.",       // 138
    "vuoto",                                     // 139
    "Azienda Trasporti Alta Valmora S.n.c.",     // 140
    "Autoservizi Passo del Cuculo Soc. Coop.",   // 141
    "Autocorse Riva Chiara S.r.l.",              // 142
    "Autocorse Rocca Alta S.r.l.",               // 143
    "vuoto",                                     // 144
    "Navette Valle Argentina Soc. Coop.",        // 145
    "vuoto",                                     // 146
    "vuoto",                                     // 147
    "Consorzio Trasporti Val Ciuffa",            // 148
    "Linee Extraurbane Castelrotondo S.n.c.",    // 149
    "Autocorse Roccafonda S.c.a.r.l.",           // 150
    "Linee Extraurbane Lagorosso S.c.a.r.l.",    // 151
    "Autolinee Valsecca Soc. Coop.",             // 152
    "Trasporti Passo del Cuculo Soc. Coop.",     // 153
    "Mobilità Roccafonda",                       // 154
    "Navette Valdibosco",                        // 155
    "vuoto",                                     // 156
    "Trasporto Pubblico Val Ciuffa S.c.a.r.l.",  // 157
    "vuoto",                                     // 158
    "Consorzio Trasporti Pian di Sasso S.r.l.",  // 159
    "Autocorse Sorgenti S.c.a.r.l.",             // 160
    "Trasporti Valle dei Mulini S.n.c.",         // 161
    "Linee Extraurbane Passo del Cuculo",        // 162
    "Azienda Trasporti Montemiglio S.c.a.r.l.",  // 163
    "Trasporto Pubblico Rocca Alta Soc. Coop.",  // 164
    "Autolinee Passo del Cuculo S.r.l.",         // 165
    "Società Autolinee Rocca Alta",              // 166
    "vuoto",                                     // 167
    "Consorzio Trasporti Prato Lungo S.n.c.",    // 168
    "vuoto",                                     // 169
    "Trasporti Fontanelle",                      // 170
    "vuoto",                                     // 171
    "vuoto",                                     // 172
    "vuoto",                                     // 173
    "vuoto",                                     // 174
    "Navette Lago Scuro S.c.a.r.l.",             // 175
    "Servizi Autobus Lago Scuro Soc. Coop.",     // 176
    "vuoto",                                     // 177
    "Linee Extraurbane Piana del Sole S.p.A.",   // 178
    "Navette Alta Valmora S.c.a.r.l.",           // 179
    "vuoto",                                     // 180
    "Servizi Autobus Montebrando",               // 181
    "vuoto",                                     // 182
    "Società Autolinee Ponte Nuovo S.c.a.r.l.",  // 183
    "Trasporto Pubblico Borgo Fiorito S.n.c.",   // 184
    "vuoto",                                     // 185
    "Trasporti Altopiano dei Cervi Soc. Coop.",  // 186
    "Linee Extraurbane Collina d'Oro S.p.A.",    // 187
    "Consorzio Trasporti Borgo Fiorito S.p.A.",  // 188
    "Servizi Autobus Castelrotondo Soc. Coop.",  // 189
    "vuoto",                                     // 190
    "Navette Costa Serena Soc. Coop.",           // 191
    "vuoto",                                     // 192
    "Trasporti Campo delle Gazze S.n.c.",        // 193
    "Trasporto Pubblico Terre Basse S.p.A.",     // 194
    "vuoto",                                     // 195
    "Servizi Autobus Val di Lame S.r.l.",        // 196
    "vuoto",                                     // 197
    "Azienda Trasporti Ponte Nuovo S.r.l.",      // 198
    "Trasporto Pubblico Val Ciuffa S.p.A.",      // 199
    "vuoto",                                     // 200
    "Linee Extraurbane Fontanelle S.p.A.",       // 201
    "vuoto",                                     // 202
    "Linee Extraurbane Costa Serena S.n.c.",     // 203
    "vuoto",                                     // 204
    "Servizi Autobus Val Ciuffa S.n.c.",         // 205
    "Autolinee Montebrando S.p.A.",              // 206
    "vuoto",                                     // 207
    "Azienda Trasporti Rocca Alta S.r.l.",       // 208
    "vuoto",                                     // 209
};

}  // namespace

std::string_view RegionalCompanyName(int code) {
  return code >= 0 && code < kRegionalCompanyCount ? kCompanies[code] : std::string_view();
}

}  // namespace viamappa
