#pragma once
// Time-history text files: the sample count, the time step (hours) and one sample per
// line. Written numbers carry at most seven significant digits ("2.4E+1").
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

#include "core/numeric/vector.h"

namespace kolma {

inline constexpr const char* kInvalidFileFormat = "Invalid file format";

// Largest count a file may announce: the longest history the spectrum can take.
inline constexpr int kMaxHistorySamples = 1 << 23;

enum class TimeHistoryReadStatus {
  Loaded,         // values and timeStep hold the file's history
  NothingLoaded,  // the count is 0 or negative: keep the current history, say nothing
  InvalidFormat,  // unreadable header, or a count or time step that cannot be used
  ReadFailed,     // the file could not be opened or read (error tells why)
};

struct TimeHistoryReadResult {
  TimeHistoryReadStatus status = TimeHistoryReadStatus::NothingLoaded;
  std::string error;     // kInvalidFileFormat, or the I/O failure with its reason
  TVector values;        // n samples when Loaded
  double timeStep = 0.0; // hours, finite and positive when Loaded
  // How many of the n samples were missing (the file ended) or unreadable, and so set to 0.
  int unreadSamples = 0;

  bool ok() const { return status == TimeHistoryReadStatus::Loaded; }
};

// Reads a history from the text of a file. Missing or unreadable samples are 0.
TimeHistoryReadResult ParseTimeHistory(std::string_view text);
// Reads a history from a stream, chunk by chunk.
TimeHistoryReadResult ReadTimeHistory(std::istream& in);
// Only a regular file is read: a FIFO or a device is refused at once instead of blocking.
TimeHistoryReadResult ReadTimeHistoryFile(const std::filesystem::path& path);

// value rounded to seven significant digits in the file's notation: 24 -> "2.4E+1",
// 1/3 -> "3.333333E-1", 0 -> "0E+0". Independent of the C locale.
std::string FormatSevenDigits(double value);

// Writes the count, the time step and every sample, each line ended by CR LF.
void WriteTimeHistory(std::ostream& out, const TVector& values, double timeStep);

struct TimeHistoryWriteResult {
  bool ok = false;
  std::string error;  // the failure with its reason
};

// Writes into a temporary file beside the target and renames it over the target only
// once everything is written, so a failed save leaves any previous file as it was.
TimeHistoryWriteResult WriteTimeHistoryFile(const std::filesystem::path& path, const TVector& values,
                                            double timeStep);

}  // namespace kolma
