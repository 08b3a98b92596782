// The driver's line protocol: a request is one line of space-separated ASCII tokens, the verb
// first; texts travel as hex of their code page 936 bytes, which the driver turns into UTF-16
// for the wide API, so nothing is lost whatever the system's code page. A reply is "OK" or
// "ERR" followed by tokens, on one line.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct DriverError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TRequest {
public:
    explicit TRequest(const std::string& line);
    const std::string& Verb() const { return verb_; }
    size_t Count() const { return args_.size(); }
    long long Number(size_t index) const;    // decimal, may be negative
    std::string Text(size_t index) const;    // hex-decoded bytes; "-" is empty
    bool HasText(size_t index) const;        // present and not "-"

private:
    const std::string& Arg(size_t index) const;
    std::string verb_;
    std::vector<std::string> args_;
};

std::string HexEncode(const std::string& bytes);
std::string HexDecode(const std::string& hex);

class TReply {
public:
    TReply& Add(long long number);
    TReply& AddText(const std::string& bytes);  // hex-encoded
    TReply& AddRaw(const std::string& token);
    std::string Line() const { return "OK" + body_; }

private:
    std::string body_;
};
