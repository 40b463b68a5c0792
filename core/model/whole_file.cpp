#include "core/model/whole_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

namespace kolma {

namespace fs = std::filesystem;

namespace {

// The stream classes leave errno set by the system call that failed.
std::string SystemReason(const char* what) {
  const int error = errno;
  std::string text = what;
  if (error != 0) text += std::string(": ") + std::strerror(error);
  return text;
}

bool Fail(std::string* reason, std::string text) {
  if (reason) *reason = std::move(text);
  return false;
}

fs::path TemporaryNameBeside(const fs::path& target, int attempt) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  const unsigned long long tag = ticks ^ (static_cast<unsigned long long>(counter++) << 40) ^
                                 static_cast<unsigned long long>(attempt) * 0x9E3779B97F4A7C15ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", tag);
  fs::path name = target;
  name += ".saving-";
  name += hex;
  return name;
}

bool WriteNewFile(const fs::path& path, std::span<const std::uint8_t> bytes, std::string* reason) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return Fail(reason, SystemReason("cannot create a file beside it"));
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  const bool written = static_cast<bool>(out);
  out.close();
  if (!written || out.fail()) return Fail(reason, SystemReason("cannot write"));
  return true;
}

}  // namespace

bool ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes, std::string* reason,
                   std::uintmax_t maxBytes) {
  std::error_code ec;
  if (fs::is_directory(path, ec))
    return Fail(reason, "cannot open: " + std::make_error_code(std::errc::is_a_directory).message());
  // A FIFO or a device would block the read or never end: only regular files are read.
  const fs::file_status status = fs::status(path, ec);
  if (!ec && status.type() != fs::file_type::regular) return Fail(reason, "cannot open: not a regular file");
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(reason, SystemReason("cannot open"));
  const std::string tooLarge = "the file is larger than " + std::to_string(maxBytes) + " bytes";
  std::vector<std::uint8_t> content;
  const auto size = fs::file_size(path, ec);
  if (!ec && size > maxBytes) return Fail(reason, tooLarge);
  if (!ec) content.reserve(static_cast<size_t>(size));
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    content.insert(content.end(), chunk, chunk + in.gcount());
    if (content.size() > maxBytes) return Fail(reason, tooLarge);  // a device or a growing file
    if (!in) break;
  }
  if (in.bad()) return Fail(reason, SystemReason("cannot read"));
  bytes.swap(content);
  return true;
}

bool ReplaceFileContents(const fs::path& path, std::span<const std::uint8_t> bytes, std::string* reason) {
  std::error_code ec;
  fs::path target = path;
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  if (fs::is_directory(target, ec))
    return Fail(reason, "cannot replace: " + std::make_error_code(std::errc::is_a_directory).message());

  fs::path temporary;
  for (int attempt = 0; attempt < 16 && temporary.empty(); ++attempt) {
    fs::path candidate = TemporaryNameBeside(target, attempt);
    if (!fs::exists(candidate, ec) && !ec) temporary = candidate;
  }
  if (temporary.empty()) return Fail(reason, "cannot find a free temporary name beside it");

  if (!WriteNewFile(temporary, bytes, reason)) {
    fs::remove(temporary, ec);
    return false;
  }
  // A replaced file keeps its permissions; a new one gets the usual defaults.
  const fs::file_status previous = fs::status(target, ec);
  if (!ec && fs::is_regular_file(previous)) fs::permissions(temporary, previous.permissions(), ec);
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return Fail(reason, "cannot replace: " + ec.message());
  }
  return true;
}

}  // namespace kolma
