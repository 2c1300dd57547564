#include "WebBench.h"

#include <new>
#include <utility>

#include "Commands.h"
#include "Error.h"
#include "NumText.h"

namespace velmora::web {

namespace {

constexpr std::u16string_view kOutOfMemory = u"Out of memory";
/// kOutOfMemory as the error box shows it, written where no memory is left to make it.
constexpr std::u16string_view kOutOfMemoryShown = u"Out of memory.";

bool IsLead(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsTrail(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

std::u16string Hex4(char16_t c) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string out;
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(c >> shift) & 0xF];
    return out;
}

std::u16string Decimal(std::size_t n) {
    std::u16string out;
    do {
        out.insert(out.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
    } while (n != 0);
    return out;
}

}  // namespace

std::u16string UnpairedSurrogateMessage(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLead(text[i]) && i + 1 < text.size() && IsTrail(text[i + 1])) {
            ++i;
        } else if (IsLead(text[i]) || IsTrail(text[i])) {
            return u"The text is not valid UTF-16: an unpaired surrogate U+" + Hex4(text[i]) +
                   u" at character " + Decimal(i + 1);
        }
    }
    return {};
}

template <typename Body>
bool WebBench::Guarded(Body body) {
    const BenchOptions before = bench_.Options();
    bool ran = false;
    // Memory that runs out is tried once more after the bench let go of what it keeps only
    // to be quick: a body that fails changes nothing, so it may run again.
    for (int attempt = 0; attempt < 2 && !ran; ++attempt) {
        try {
            body();
            ran = true;
        } catch (const Error& error) {
            Fail(error.Message());
            break;
        } catch (const std::bad_alloc&) {
            Fail(kOutOfMemory);
            bench_.LetGoOfSpareMemory();
        }
    }
    const BenchOptions& after = bench_.Options();
    if (after.FixAngle != before.FixAngle || after.SumCirculation != before.SumCirculation ||
        after.WriteProtocol != before.WriteProtocol)
        ++optionsRevision_;
    return ran;
}

WebBench::WebBench() {
    error_.reserve(kOutOfMemoryShown.size());
}

void WebBench::Fail(std::u16string_view message) {
    try {
        error_.assign(ErrorBoxText(message));
    } catch (const std::bad_alloc&) {
        // Not even the message found memory; the error text's own storage, never smaller
        // than this message, takes it without any.
        error_.assign(kOutOfMemoryShown);
    }
}

bool WebBench::Run(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kCommandNames.size()) {
        Fail(u"No such command");
        return false;
    }
    return Guarded([&] { bench_.Run(kCommandNames[static_cast<std::size_t>(index)].Which); });
}

char16_t* WebBench::StageText(std::size_t length) {
    // The old staging text is let go first, so that a long one is not held twice.
    staged_ = std::u16string();
    const bool made = Guarded([&] { staged_.resize(length); });
    return made ? staged_.data() : nullptr;
}

bool WebBench::TypeStaged(int index) {
    if (index < 0 || index >= kReadoutRowCount) {
        Fail(u"No such row");
        return false;
    }
    return Guarded([&] {
        const std::u16string problem = UnpairedSurrogateMessage(staged_);
        if (!problem.empty())
            throw Error(problem);
        bench_.Type(ReadoutRowAt(index), std::move(staged_));
        staged_ = std::u16string();
    });
}

bool WebBench::SetOption(int index, bool on) {
    if (index < 0 || index > static_cast<int>(BenchOption::WriteProtocol)) {
        Fail(u"No such option");
        return false;
    }
    return Guarded([&] { bench_.SetOption(static_cast<BenchOption>(index), on); });
}

bool WebBench::Option(int index) const {
    const BenchOptions& options = bench_.Options();
    switch (index) {
        case static_cast<int>(BenchOption::FixAngle):
            return options.FixAngle;
        case static_cast<int>(BenchOption::SumCirculation):
            return options.SumCirculation;
        case static_cast<int>(BenchOption::WriteProtocol):
            return options.WriteProtocol;
        default:
            return false;
    }
}

bool WebBench::SetDecimalSeparator(int codeUnit) {
    const auto separator = static_cast<char16_t>(codeUnit);
    if (codeUnit != separator || IsLead(separator) || IsTrail(separator)) {
        Fail(u"The decimal separator must be one UTF-16 character other than a surrogate");
        return false;
    }
    FormatSettings().DecimalSeparator = separator;
    return true;
}

int WebBench::DecimalSeparator() const {
    return FormatSettings().DecimalSeparator;
}

}  // namespace velmora::web
