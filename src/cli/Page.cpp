#include "cli/Page.h"

#include <kz8mrp/Error.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kz8mrp::cli {
namespace {

[[noreturn]] void CannotWrite(const std::string& path, int error) {
  throw Error(errc::kFileError, "cannot write " + path + ": " + std::strerror(error));
}

// The temporary file of a page being written; removed unless it was renamed.
class PendingFile {
 public:
  explicit PendingFile(const std::string& target) : path_(target + ".XXXXXX") {
    const int fd = ::mkstemp(path_.data());
    if (fd < 0) CannotWrite(target, errno);
    ::close(fd);
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (!renamed_) std::remove(path_.c_str());
  }
  const std::string& Path() const { return path_; }
  void RenameTo(const std::string& target) {
    if (std::rename(path_.c_str(), target.c_str()) != 0) CannotWrite(target, errno);
    renamed_ = true;
  }

 private:
  std::string path_;
  bool renamed_ = false;
};

}  // namespace

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    }
  }
  return out;
}

std::string Px(double pixels) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", pixels);
  return buf;
}

void WriteFileWhole(const std::string& path, std::string_view content) {
  PendingFile pending(path);
  {
    std::ofstream out(pending.Path(), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) CannotWrite(path, errno);
  }
  // A page is for people to open: readable by all, as a new file would be.
  std::filesystem::permissions(
      pending.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                          std::filesystem::perms::group_read | std::filesystem::perms::others_read);
  pending.RenameTo(path);
}

}  // namespace kz8mrp::cli
