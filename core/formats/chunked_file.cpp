#include "core/formats/chunked_file.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

namespace kolma {

namespace fs = std::filesystem;

namespace {

std::string SystemReason(const char* what, int error) {
  std::string text = what;
  if (error != 0) text += std::string(": ") + std::strerror(error);
  return text;
}

}  // namespace

TChunkedFile::TChunkedFile(const fs::path& target) : target_(target) {
  std::error_code ec;
  if (fs::is_symlink(target_, ec)) {
    const fs::path resolved = fs::weakly_canonical(target_, ec);
    if (!ec) target_ = resolved;
  }
  if (fs::is_directory(target_, ec)) {
    reason_ = "cannot replace: " + std::make_error_code(std::errc::is_a_directory).message();
    return;
  }
  const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (unsigned attempt = 0; attempt < 16 && !file_; ++attempt) {
    char tag[40];
    std::snprintf(tag, sizeof tag, ".saving-%016llx", ticks ^ (0x9E3779B97F4A7C15ull * (attempt + 1)));
    fs::path candidate = target_;
    candidate += tag;
    errno = 0;
    // "x": never opens a file that already exists.
    file_ = std::fopen(candidate.c_str(), "wbx");
    if (file_) temporary_ = candidate;
    else if (errno != EEXIST) break;
  }
  if (!file_) reason_ = SystemReason("cannot create a file beside it", errno);
}

TChunkedFile::~TChunkedFile() {
  if (file_) {
    std::fclose(file_);
    std::error_code ec;
    fs::remove(temporary_, ec);
  }
}

bool TChunkedFile::Fail(std::string reason) {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  std::error_code ec;
  if (!temporary_.empty()) fs::remove(temporary_, ec);
  reason_ = std::move(reason);
  return false;
}

bool TChunkedFile::Write(std::string_view bytes) {
  if (!file_) return false;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) return Fail(SystemReason("cannot write", errno));
  return true;
}

bool TChunkedFile::Commit() {
  if (!file_) return false;
  errno = 0;
  const bool flushed = std::fflush(file_) == 0;
  const int error = errno;
  const bool closed = std::fclose(file_) == 0 && flushed;
  file_ = nullptr;
  std::error_code ec;
  if (!closed) {
    reason_ = SystemReason("cannot write", flushed ? errno : error);
    fs::remove(temporary_, ec);
    return false;
  }
  const fs::file_status previous = fs::status(target_, ec);
  if (!ec && fs::is_regular_file(previous)) fs::permissions(temporary_, previous.permissions(), ec);
  fs::rename(temporary_, target_, ec);
  if (ec) {
    reason_ = "cannot replace: " + ec.message();
    fs::remove(temporary_, ec);
    return false;
  }
  return true;
}

}  // namespace kolma
