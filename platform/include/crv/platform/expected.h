#pragma once
// A value or an error message. Errors cross every layer boundary as values;
// only the text travels, because every caller ends by showing it to a person.
#include <string>
#include <utility>
#include <variant>

namespace crv::platform {

struct Error {
    std::string message;
};

template <class T>
class Expected {
public:
    Expected(T value) : state_(std::move(value)) {}
    Expected(Error error) : state_(std::move(error)) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const std::string& error() const { return std::get<1>(state_).message; }

private:
    std::variant<T, Error> state_;
};

template <>
class Expected<void> {
public:
    Expected() = default;
    Expected(Error error) : ok_(false), message_(std::move(error.message)) {}
    bool has_value() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::string& error() const { return message_; }

private:
    bool ok_ = true;
    std::string message_;
};

inline Error makeError(std::string message) { return Error{std::move(message)}; }

}  // namespace crv::platform
