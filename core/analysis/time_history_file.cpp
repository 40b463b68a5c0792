#include "core/analysis/time_history_file.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <istream>
#include <ostream>
#include <random>
#include <span>
#include <sstream>
#include <system_error>
#include <vector>

#include "core/model/whole_file.h"
#include "core/numeric/errors.h"

namespace kolma {

namespace fs = std::filesystem;

namespace {

// Longest runs of characters taken as a count and as a real number; longer runs are cut
// there and the rest of their line is skipped like any other trailing text.
constexpr std::size_t kCountChars = 32;
constexpr std::size_t kRealChars = 64;
constexpr std::size_t kChunk = 1 << 16;

// Bytes of a file, pulled in chunks from a refill function, or all at once from memory.
class Scanner {
 public:
  using Refill = std::function<std::size_t(char* buffer, std::size_t capacity)>;

  explicit Scanner(std::string_view text) : pos_(text.data()), end_(text.data() + text.size()) {}
  explicit Scanner(Refill refill) : refill_(std::move(refill)), buffer_(kChunk) {}

  // Next byte as 0..255, or -1 at the end of the file.
  int Peek() {
    if (pos_ == end_ && !Fill()) return -1;
    return static_cast<unsigned char>(*pos_);
  }
  void Next() { ++pos_; }

 private:
  bool Fill() {
    if (!refill_) return false;
    const std::size_t n = refill_(buffer_.data(), buffer_.size());
    if (n == 0) {
      refill_ = nullptr;
      return false;
    }
    pos_ = buffer_.data();
    end_ = pos_ + n;
    return true;
  }

  Refill refill_;
  std::vector<char> buffer_;
  const char* pos_ = nullptr;
  const char* end_ = nullptr;
};

// Spaces, tabs, line breaks and the other control characters separate values.
bool IsBlank(int c) { return c >= 0 && c <= ' '; }

// Skips to just after the next line end (LF, CR LF or a lone CR) or to the end of the file.
void SkipRestOfLine(Scanner& s) {
  for (int c = s.Peek(); c >= 0; c = s.Peek()) {
    s.Next();
    if (c == '\n') return;
    if (c == '\r') {
      if (s.Peek() == '\n') s.Next();
      return;
    }
  }
}

// Skips blanks and line breaks, takes the next run of at most maxChars non-blank bytes,
// then skips the rest of that line. An empty token means the end of the file.
void ReadToken(Scanner& s, std::size_t maxChars, std::string& token) {
  token.clear();
  int c = s.Peek();
  while (IsBlank(c)) {
    s.Next();
    c = s.Peek();
  }
  while (c > ' ' && token.size() < maxChars) {
    token.push_back(static_cast<char>(c));
    s.Next();
    c = s.Peek();
  }
  SkipRestOfLine(s);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A signed integer without decimal point; the end of the file reads 0. Values beyond the
// 32-bit range are unreadable.
bool ParseCount(const std::string& token, std::int64_t& value) {
  value = 0;
  if (token.empty()) return true;
  std::size_t i = 0;
  const bool negative = token[0] == '-';
  if (token[0] == '-' || token[0] == '+') ++i;
  if (i == token.size()) return false;
  for (; i < token.size(); ++i) {
    if (!IsDigit(token[i])) return false;
    value = value * 10 + (token[i] - '0');
    if (value > INT32_MAX + std::int64_t{1}) return false;
  }
  if (negative) value = -value;
  return value >= INT32_MIN && value <= INT32_MAX;
}

// [sign] digits [. digits] [E [sign] digits], with at least one mantissa digit and "."
// as decimal separator whatever the locale; the end of the file reads 0. A value too
// small for a double reads 0, one too large is unreadable.
bool ParseReal(const std::string& token, double& value) {
  value = 0.0;
  if (token.empty()) return true;
  std::size_t i = 0;
  if (token[0] == '-' || token[0] == '+') ++i;
  const std::size_t mantissaStart = i;
  std::size_t digits = 0;
  while (i < token.size() && IsDigit(token[i])) ++i, ++digits;
  if (i < token.size() && token[i] == '.') {
    ++i;
    while (i < token.size() && IsDigit(token[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  bool negativeExponent = false;
  if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
    ++i;
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) negativeExponent = token[i++] == '-';
    std::size_t expDigits = 0;
    while (i < token.size() && IsDigit(token[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != token.size()) return false;

  // from_chars takes no "+" and no leading sign other than "-".
  const char* first = token.data() + mantissaStart;
  const char* last = token.data() + token.size();
  double magnitude = 0.0;
  const auto [ptr, ec] = std::from_chars(first, last, magnitude);
  if (ec == std::errc::result_out_of_range) {
    if (!negativeExponent) return false;
    magnitude = 0.0;
  } else if (ec != std::errc() || ptr != last) {
    return false;
  }
  value = token[0] == '-' ? -magnitude : magnitude;
  return true;
}

std::string Reason(int error) {
  return std::generic_category().message(error != 0 ? error : EIO);
}

std::string Quoted(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  std::string text(1, '"');
  text.append(utf8.begin(), utf8.end());
  text.push_back('"');
  return text;
}

TimeHistoryReadResult Failure(TimeHistoryReadStatus status, std::string error) {
  TimeHistoryReadResult result;
  result.status = status;
  result.error = std::move(error);
  return result;
}

TimeHistoryReadResult Read(Scanner& s) {
  std::string token;
  token.reserve(kRealChars);

  std::int64_t count = 0;
  ReadToken(s, kCountChars, token);
  if (!ParseCount(token, count)) return Failure(TimeHistoryReadStatus::InvalidFormat, kInvalidFileFormat);
  double timeStep = 0.0;
  ReadToken(s, kRealChars, token);
  if (!ParseReal(token, timeStep)) return Failure(TimeHistoryReadStatus::InvalidFormat, kInvalidFileFormat);
  if (count <= 0) return Failure(TimeHistoryReadStatus::NothingLoaded, {});
  // The first line alone must not decide how much memory is taken, and a history
  // without a positive time step has no time axis and no spectrum.
  if (count > kMaxHistorySamples || !std::isfinite(timeStep) || timeStep <= 0.0)
    return Failure(TimeHistoryReadStatus::InvalidFormat, kInvalidFileFormat);

  TimeHistoryReadResult result;
  try {
    result.values = TVector(static_cast<int>(count));
  } catch (const EVectorError& e) {
    return Failure(TimeHistoryReadStatus::ReadFailed, e.what());
  }
  double* out = result.values.Data();
  for (std::int64_t i = 0; i < count; ++i) {
    ReadToken(s, kRealChars, token);
    double value = 0.0;
    // A missing (end of file) or unreadable sample stays 0, and is counted.
    if (!token.empty() && ParseReal(token, value))
      out[i] = value;
    else
      ++result.unreadSamples;
  }
  result.status = TimeHistoryReadStatus::Loaded;
  result.timeStep = timeStep;
  return result;
}

// A read error (a folder opened as a file, a failing disk) loads nothing.
TimeHistoryReadResult ReadStream(std::istream& in, const std::string& name) {
  Scanner s([&in](char* buffer, std::size_t capacity) -> std::size_t {
    if (!in) return 0;
    in.read(buffer, static_cast<std::streamsize>(capacity));
    return static_cast<std::size_t>(in.gcount());
  });
  errno = 0;
  TimeHistoryReadResult result = Read(s);
  if (in.bad()) return Failure(TimeHistoryReadStatus::ReadFailed, "Cannot read " + name + ": " + Reason(errno));
  return result;
}

// Lines end with CR LF whatever the platform.
void AppendLine(std::string& text, std::string_view value) {
  text.append(value);
  text.append("\r\n");
}

// Plain digits: no locale grouping.
std::string CountText(int n) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
  return std::string(buffer, end);
}

// A name beside the target that no other save is using.
}  // namespace

TimeHistoryReadResult ParseTimeHistory(std::string_view text) {
  Scanner s(text);
  return Read(s);
}

TimeHistoryReadResult ReadTimeHistory(std::istream& in) { return ReadStream(in, "the file"); }

TimeHistoryReadResult ReadTimeHistoryFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!ec && status.type() != fs::file_type::regular && status.type() != fs::file_type::directory)
    return Failure(TimeHistoryReadStatus::ReadFailed, "Cannot open " + Quoted(path) + ": not a regular file");
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return Failure(TimeHistoryReadStatus::ReadFailed, "Cannot open " + Quoted(path) + ": " + Reason(errno));
  return ReadStream(in, Quoted(path));
}

std::string FormatSevenDigits(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0.0) return "0E+0";  // also -0: zero carries no sign

  // Shortest exact rounding to seven significant digits: "-d.dddddde+xx".
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 6).ptr;
  std::string_view s(buffer, static_cast<std::size_t>(end - buffer));
  std::string text;
  if (s.front() == '-') {
    text.push_back('-');
    s.remove_prefix(1);
  }
  const std::size_t e = s.find('e');
  std::string_view fraction = s.substr(2, e - 2);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  text.push_back(s[0]);
  if (!fraction.empty()) {
    text.push_back('.');
    text.append(fraction);
  }
  text.push_back('E');
  text.push_back(s[e + 1]);
  std::string_view exponent = s.substr(e + 2);
  while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
  text.append(exponent);
  return text;
}

void WriteTimeHistory(std::ostream& out, const TVector& values, double timeStep) {
  std::string text;
  text.reserve(kChunk + 64);
  AppendLine(text, CountText(values.NrOfElem()));
  AppendLine(text, FormatSevenDigits(timeStep));
  const double* samples = values.Data();
  for (int i = 0; i < values.NrOfElem(); ++i) {
    AppendLine(text, FormatSevenDigits(samples[i]));
    if (text.size() >= kChunk) {
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      if (!out) return;
      text.clear();
    }
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

TimeHistoryWriteResult WriteTimeHistoryFile(const fs::path& path, const TVector& values, double timeStep) {
  std::ostringstream text;
  WriteTimeHistory(text, values, timeStep);
  const std::string bytes = std::move(text).str();
  TimeHistoryWriteResult result;
  std::string reason;
  result.ok = ReplaceFileContents(
      path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), &reason);
  if (!result.ok) result.error = "Cannot save " + Quoted(path) + ": " + reason;
  return result;
}

}  // namespace kolma
