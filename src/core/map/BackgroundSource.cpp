#include "map/BackgroundSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace viamappa {

namespace {

class FileSource : public BackgroundSource {
 public:
  FileSource(std::string path, int descriptor, const struct stat& opened)
      : path_(std::move(path)), descriptor_(descriptor), opened_(opened) {}
  ~FileSource() override { ::close(descriptor_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool ReadAt(std::uint64_t offset, void* out, std::size_t size) override {
    auto* bytes = static_cast<unsigned char*>(out);
    while (size > 0) {
      if (offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
      const ssize_t got = ::pread(descriptor_, bytes, size, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      bytes += got;
      size -= static_cast<std::size_t>(got);
      offset += static_cast<std::uint64_t>(got);
    }
    return true;
  }

  std::uint64_t size() const override { return static_cast<std::uint64_t>(opened_.st_size); }

  bool Unchanged() const override {
    // The open descriptor still reads the old file after the name is removed or given to another
    // file: the name is checked, and the descriptor for a rewrite in place.
    struct stat named {};
    struct stat held {};
    if (::stat(path_.c_str(), &named) != 0 || ::fstat(descriptor_, &held) != 0) return false;
    return named.st_dev == opened_.st_dev && named.st_ino == opened_.st_ino &&
           held.st_size == opened_.st_size && held.st_mtim.tv_sec == opened_.st_mtim.tv_sec &&
           held.st_mtim.tv_nsec == opened_.st_mtim.tv_nsec;
  }

 private:
  std::string path_;
  int descriptor_;
  struct stat opened_;
};

class BytesSource : public BackgroundSource {
 public:
  explicit BytesSource(std::string_view bytes) : bytes_(bytes) {}

  bool ReadAt(std::uint64_t offset, void* out, std::size_t size) override {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    if (size > 0) std::memcpy(out, bytes_.data() + offset, size);
    return true;
  }
  std::uint64_t size() const override { return bytes_.size(); }
  bool Unchanged() const override { return true; }

 private:
  std::string_view bytes_;
};

}  // namespace

std::unique_ptr<BackgroundSource> OpenFileSource(const std::string& path, OpenFailure& failure) {
  failure = OpenFailure::None;
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    switch (errno) {
      case ENOENT:
      case ENOTDIR:
      case ENAMETOOLONG:
        failure = OpenFailure::Missing;
        break;
      case EACCES:
      case EPERM:
      case EBUSY:
      case ETXTBSY:
        failure = OpenFailure::Refused;
        break;
      default:
        failure = OpenFailure::Other;
        break;
    }
    return nullptr;
  }
  struct stat opened {};
  if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    // A folder or a device has no bytes of a background file to read.
    ::close(descriptor);
    failure = OpenFailure::Missing;
    return nullptr;
  }
  return std::make_unique<FileSource>(path, descriptor, opened);
}

std::unique_ptr<BackgroundSource> MemorySource(std::string_view bytes) {
  return std::make_unique<BytesSource>(bytes);
}

}  // namespace viamappa
