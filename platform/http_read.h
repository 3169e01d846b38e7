// One uncached HTTP/1.0 GET of a whole resource.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

inline constexpr long httpConnectTimeoutSeconds = 20;
inline constexpr long httpStallTimeoutSeconds = 20;
inline constexpr long httpTotalTimeoutSeconds = 60;
inline constexpr std::size_t httpBodyLimit = 1 << 20;

// The body received, status code ignored; what came before a break-off is
// kept; nullopt when nothing was received.
std::optional<std::vector<unsigned char>> readHttp(const char* address);
