// The library's error type: a std::exception carrying a UTF-8 message.
#pragma once

#include <exception>
#include <string>
#include <string_view>

class qs_exception : public std::exception {
public:
    explicit qs_exception(std::string_view message) : message_(message) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};
