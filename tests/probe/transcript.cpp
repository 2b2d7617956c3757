#include "tests/probe/transcript.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Attempt(const char* what, int number, const std::string& address, uint32_t port) {
    return "   [" + std::to_string(number) + "]     " + what + "\t" + address + " : " +
           std::to_string(port) + "\t   [RTT: #ms]\r\n";
}

} // namespace

std::string Lookup(const std::string& target) {
    return "***** Performing DNS Lookup:\t\t" + target + "\t\t[RTT: #ms]\r\n";
}

std::string Reply(int number, const std::string& address, uint32_t port) {
    return Attempt("Connect reply from:", number, address, port);
}

std::string Failed(int number, const std::string& address, uint32_t port) {
    return Attempt("Connect Failed!!!", number, address, port);
}

std::string ErrorLine(const std::string& text) {
    return "\tError: " + text + "\r\n";
}

std::string Unresolved(const std::string& text) {
    return "\t" + text + "\r\n";
}

std::string Summary(int successes, int count) {
    return "\r\n***** Status: " + std::to_string(successes) + " of " + std::to_string(count) +
           " Connections Completed, Total Time to Connect: #ms";
}

Transcript ParseTranscript(const std::string& text) {
    static const std::string rtt = "[RTT: ";
    static const std::string total = "Total Time to Connect: ";
    Transcript t;
    size_t at = 0;
    while (at < text.size()) {
        const size_t r = text.find(rtt, at);
        const size_t s = text.find(total, at);
        const size_t mark = std::min(r, s);
        if (mark == std::string::npos)
            break;
        const size_t digits = mark + (mark == r ? rtt.size() : total.size());
        size_t end = digits;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        if (end == digits || text.compare(end, 2, "ms") != 0) { // not a figure: keep it
            t.shape.append(text, at, digits - at);
            at = digits;
            continue;
        }
        t.shape.append(text, at, digits - at);
        t.shape.append("#ms");
        const uint32_t value = uint32_t(std::stoul(text.substr(digits, end - digits)));
        if (mark == r) {
            t.times.push_back(value);
        } else {
            t.total = value;
            t.hasTotal = true;
        }
        at = end + 2;
    }
    t.shape.append(text, std::min(at, text.size()), std::string::npos);
    for (size_t r = text.find("Connect reply from:"); r != std::string::npos;
         r = text.find("Connect reply from:", r + 1))
        ++t.replies;
    return t;
}
