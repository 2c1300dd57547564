#pragma once

#include <exception>
#include <string>

namespace velmora {

/// A failure that ends a bench command and is shown to the student: one message text.
/// Messages are UTF-16 like every text of the bench; what() gives the same text in UTF-8.
class Error : public std::exception {
  public:
    explicit Error(std::u16string message);

    /// The message exactly as the error carries it (without the period the error box adds).
    const std::u16string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

  private:
    std::u16string message_;
    std::string utf8_;
};

/// A typed text that is not a number: "'%s' is not a valid floating point value".
class EConvertError : public Error {
  public:
    using Error::Error;
};

/// An overflow, invalid operation or division by zero of the extended arithmetic.
class EMathError : public Error {
  public:
    using Error::Error;
};

}  // namespace velmora
