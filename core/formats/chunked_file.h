#pragma once
// A file written piece by piece and put in place only when complete: the pieces go to a new
// file beside the target, which replaces the target once every byte is written and the file
// closed. A failure, or dropping the writer before Commit, leaves the target as it was and
// no temporary file behind. So a long export needs one piece in memory, not the whole file.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace kolma {

class TChunkedFile {
 public:
  explicit TChunkedFile(const std::filesystem::path& target);
  ~TChunkedFile();
  TChunkedFile(const TChunkedFile&) = delete;
  TChunkedFile& operator=(const TChunkedFile&) = delete;

  // False once anything failed; Reason() says what.
  bool Ok() const { return file_ != nullptr; }
  const std::string& Reason() const { return reason_; }

  bool Write(std::string_view bytes);
  // Closes the file and renames it over the target (a symbolic link is followed; a replaced
  // file keeps its permissions).
  bool Commit();

 private:
  bool Fail(std::string reason);

  std::filesystem::path target_, temporary_;
  std::FILE* file_ = nullptr;
  std::string reason_;
};

}  // namespace kolma
