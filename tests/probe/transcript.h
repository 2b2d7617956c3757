// The pieces of a probe transcript, for building expected transcripts, and a
// reader that takes the millisecond figures out of a real one so that the
// rest can be compared byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline const std::string kConnecting = " Connecting...\r\n";
inline const std::string kCanceled = "\r\n*** Connect Request(s) Canceled!!!\r\n";
inline const std::string kLookupFailed =
    "Error: DNS LookUp Failed! Verify that the target is in DNS.";

// Expected lines, with # in place of each time.
std::string Lookup(const std::string& target);
std::string Reply(int number, const std::string& address, uint32_t port);
std::string Failed(int number, const std::string& address, uint32_t port);
std::string ErrorLine(const std::string& text);
std::string Unresolved(const std::string& text);
std::string Summary(int successes, int count);

struct Transcript {
    std::string shape;           // the text with every ms figure replaced by #
    std::vector<uint32_t> times; // the [RTT: ...] figures, in order
    uint32_t total = 0;          // the summary's total, if there is one
    bool hasTotal = false;
    int replies = 0; // reply lines
};

Transcript ParseTranscript(const std::string& text);
