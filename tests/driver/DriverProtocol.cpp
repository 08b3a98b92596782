#include "DriverProtocol.h"

#include <cstdlib>
#include <sstream>

TRequest::TRequest(const std::string& line) {
    std::istringstream tokens(line);
    tokens >> verb_;
    std::string token;
    while (tokens >> token) args_.push_back(token);
}

const std::string& TRequest::Arg(size_t index) const {
    if (index >= args_.size()) throw DriverError(verb_ + ": missing argument " + std::to_string(index + 1));
    return args_[index];
}

long long TRequest::Number(size_t index) const {
    const std::string& token = Arg(index);
    char* end = nullptr;
    long long value = std::strtoll(token.c_str(), &end, 0);
    if (token.empty() || *end != '\0') throw DriverError(verb_ + ": not a number: " + token);
    return value;
}

bool TRequest::HasText(size_t index) const {
    return index < args_.size() && args_[index] != "-";
}

std::string TRequest::Text(size_t index) const {
    return HasText(index) ? HexDecode(Arg(index)) : std::string();
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw DriverError(std::string("bad hex digit: ") + c);
}

}  // namespace

std::string HexEncode(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    if (bytes.empty()) return "-";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::string HexDecode(const std::string& hex) {
    if (hex.size() % 2 != 0) throw DriverError("odd hex length");
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2)
        bytes += static_cast<char>(HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1]));
    return bytes;
}

TReply& TReply::Add(long long number) { return AddRaw(std::to_string(number)); }

TReply& TReply::AddText(const std::string& bytes) { return AddRaw(HexEncode(bytes)); }

TReply& TReply::AddRaw(const std::string& token) {
    body_ += ' ';
    body_ += token;
    return *this;
}
