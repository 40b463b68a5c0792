#pragma once
// Exceptions raised by the numerical components. Their messages are fixed English
// texts that the application's error handler shows to the user as they are.
#include <stdexcept>

namespace kolma {

inline constexpr const char* kNotEnoughMemory = "not enough memory on heap";

struct EVectorError : std::runtime_error { using std::runtime_error::runtime_error; };
struct EMatrixError : std::runtime_error { using std::runtime_error::runtime_error; };
struct EFourierError : std::runtime_error { using std::runtime_error::runtime_error; };
struct ECurveFitError : std::runtime_error { using std::runtime_error::runtime_error; };

}  // namespace kolma
