#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Bench.h"

namespace velmora::web {

/// The bench as a web page holds it: every call that can fail returns false and leaves the
/// message, as the error box shows it, for ErrorText(); nothing it calls lets an exception
/// out. Texts go in through a staging text that the caller fills (StageText) and come out as
/// the bench holds them, so that no text crosses through an allocation that could fail
/// unseen.
class WebBench {
  public:
    WebBench();

    /// Runs the command at `index` of the command table. False when it failed (the bench
    /// is as it was) or `index` is not a command.
    bool Run(int index);

    /// Makes the staging text `length` UTF-16 code units long and returns where they go,
    /// or nullptr (with ErrorText) when there is no memory for it.
    char16_t* StageText(std::size_t length);
    /// Types the staging text into the row at `index` (Bench::Type). Refused, changing
    /// nothing, when the text holds an unpaired surrogate or `index` is not a row.
    bool TypeStaged(int index);

    /// Ticks or clears the option box at `index`; false when `index` is not an option.
    bool SetOption(int index, bool on);
    bool Option(int index) const;
    /// Grows by one whenever a call leaves the option boxes other than they were.
    unsigned OptionsRevision() const { return optionsRevision_; }

    /// The decimal separator of the numbers typed and shown; refused for a surrogate.
    bool SetDecimalSeparator(int codeUnit);
    int DecimalSeparator() const;

    const Bench& Lab() const { return bench_; }
    /// The message of the last failure, as the error box shows it.
    const std::u16string& ErrorText() const { return error_; }

  private:
    /// Runs `body`, turning a bench error or a lack of memory into ErrorText; true when it
    /// ran to its end. A body that ran out of memory runs once more after the bench let go
    /// of its spare memory.
    template <typename Body>
    bool Guarded(Body body);
    void Fail(std::u16string_view message);

    Bench bench_;
    std::u16string staged_;
    std::u16string error_;
    unsigned optionsRevision_ = 0;
};

/// The message of a text that holds an unpaired surrogate, or empty when it has none:
/// "The text is not valid UTF-16: an unpaired surrogate U+D800 at character 3" (counted
/// from 1, in UTF-16 code units).
std::u16string UnpairedSurrogateMessage(std::u16string_view text);

}  // namespace velmora::web
