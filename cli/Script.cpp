#include "Script.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include <fmt/format.h>

#include "Commands.h"
#include "Error.h"
#include "NumText.h"
#include "Utf.h"

namespace velmora::cli {

namespace {

constexpr std::string_view kSetPrefix = "set ";
constexpr std::string_view kSeparatorPrefix = "separator ";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::optional<Tick> TickFromLine(std::string_view line) {
    static constexpr std::pair<std::string_view, Tick> kTicks[] = {
        {"fix on", {BenchOption::FixAngle, true}},
        {"fix off", {BenchOption::FixAngle, false}},
        {"circulation on", {BenchOption::SumCirculation, true}},
        {"circulation off", {BenchOption::SumCirculation, false}},
        {"protocol on", {BenchOption::WriteProtocol, true}},
        {"protocol off", {BenchOption::WriteProtocol, false}},
    };
    for (const auto& [text, tick] : kTicks) {
        if (text == line)
            return tick;
    }
    return std::nullopt;
}

std::optional<Show> ShowFromLine(std::string_view line) {
    if (line == "table")
        return Show{Show::What::Table};
    if (line == "log")
        return Show{Show::What::Log};
    if (line == "scene")
        return Show{Show::What::Scene};
    return std::nullopt;
}

ScriptLine InterpretSet(const std::u16string& rest) {
    const auto equals = rest.find(u'=');
    if (equals == std::u16string::npos)
        return BadLine{"'set' needs KEY=VALUE"};
    const auto row = RowOfKey(std::u16string_view(rest).substr(0, equals));
    if (!row)
        return BadLine{"not a key of the readout table"};
    return Type{*row, rest.substr(equals + 1)};
}

ScriptLine InterpretSeparator(const std::u16string& rest) {
    if (rest.size() != 1) {
        const bool onePairedCharacter = rest.size() == 2 && rest[0] >= 0xD800 && rest[0] <= 0xDBFF;
        return BadLine{onePairedCharacter ? "a separator above U+FFFF cannot be used"
                                          : "a separator must be exactly one character"};
    }
    return ChangeSeparator{rest[0]};
}

void Append(std::string& out, std::u16string_view text) {
    out += ToUtf8(text);
    out += '\n';
}

/// The shortest text that reads back as `value` (finite), as std::to_chars writes it: the
/// fewest significant digits, then fixed notation unless scientific ("1.5e-07", at least two
/// exponent digits) is shorter. The digits come from {fmt}, which every platform has, in
/// whatever layout it chose.
std::string ShortestText(double value) {
    const std::string written = fmt::format("{}", value);
    std::string_view text = written;
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    int exponent = 0;  // value = 0.digits × 10^exponent
    if (const auto e = text.find('e'); e != std::string_view::npos) {
        exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
        text = text.substr(0, e);
    }
    std::string digits;
    const auto point = text.find('.');
    exponent += static_cast<int>(point == std::string_view::npos ? text.size() : point);
    for (const char c : text) {
        if (c != '.')
            digits += c;
    }
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return negative ? "-0" : "0";
    exponent -= static_cast<int>(first);
    digits.erase(0, first);
    digits.erase(digits.find_last_not_of('0') + 1);

    const int n = static_cast<int>(digits.size());
    std::string fixed;
    if (exponent <= 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent), '0') + digits;
    } else if (exponent < n) {
        fixed = digits.substr(0, static_cast<std::size_t>(exponent)) + "." +
                digits.substr(static_cast<std::size_t>(exponent));
    } else {
        fixed = fmt::format("{:.0f}", std::fabs(value));  // a whole number: all its digits
    }
    std::string scientific = digits.substr(0, 1);
    if (n > 1)
        scientific += "." + digits.substr(1);
    scientific += fmt::format("e{}{:02}", exponent - 1 < 0 ? '-' : '+', std::abs(exponent - 1));
    return (negative ? "-" : "") + (fixed.size() <= scientific.size() ? fixed : scientific);
}

/// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0.
std::size_t SequenceLength(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (length > bytes.size() || !FromUtf8(bytes.substr(0, length)))
        return 0;
    return length;
}

}  // namespace

ScriptLine Interpret(std::string_view line) {
    const auto text = FromUtf8(line);
    if (!text)
        return BadLine{"not valid UTF-8"};
    if (line.empty() || line.front() == '#')
        return Nothing{};
    if (const auto command = CommandOfWord(line))
        return Press{*command};
    if (line.starts_with(kSetPrefix))
        return InterpretSet(text->substr(kSetPrefix.size()));
    if (line.starts_with(kSeparatorPrefix)) {
        return InterpretSeparator(text->substr(kSeparatorPrefix.size()));
    }
    if (const auto tick = TickFromLine(line))
        return *tick;
    if (const auto show = ShowFromLine(line))
        return *show;
    return BadLine{"not a command of the script"};
}

Session::Session() {
    startup_ = PressButton(Command::Reset);
}

std::string Session::Execute(const ScriptLine& line) {
    if (const auto* press = std::get_if<cli::Press>(&line))
        return PressButton(press->command);
    if (const auto* type = std::get_if<Type>(&line)) {
        bench_.Type(type->row, type->value);
    } else if (const auto* tick = std::get_if<Tick>(&line)) {
        bench_.SetOption(tick->box, tick->on);
    } else if (const auto* change = std::get_if<ChangeSeparator>(&line)) {
        FormatSettings().DecimalSeparator = change->separator;
    } else if (const auto* show = std::get_if<Show>(&line)) {
        switch (show->what) {
            case Show::What::Table:
                return TableText(bench_.Table());
            case Show::What::Log:
                return LogText(bench_.Protocol());
            case Show::What::Scene:
                return SceneText(bench_.Scene());
        }
    }
    return {};
}

std::string Session::PressButton(Command command) {
    try {
        bench_.Run(command);
    } catch (const Error& error) {
        std::string out = "error: ";
        Append(out, ErrorBoxText(error.Message()));
        return out;
    }
    return {};
}

std::string TableText(const ReadoutTable& table) {
    std::string out;
    for (const ReadoutRow row : kReadoutRows)
        Append(out, table.RowText(row));
    return out;
}

std::string LogText(const ProtocolLog& log) {
    std::string out;
    for (const auto& line : log.Lines())
        Append(out, line);
    return out;
}

std::string SceneText(const PlotScene& scene) {
    std::string out;
    for (std::size_t index = 0; index < kLayerCount; ++index) {
        const auto layer = static_cast<Layer>(index);
        out += LayerName(layer);
        for (const PlotPoint& point : scene.Points(layer)) {
            for (const double coordinate : {point.X, point.Y}) {
                out += ' ';
                out += ShortestText(coordinate);
            }
        }
        out += '\n';
    }
    return out;
}

std::string Quoted(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = SequenceLength(text.substr(i));
        if (length == 0 || byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
            ++i;
            continue;
        }
        if (byte == '\\' || byte == '"')
            out += '\\';
        out.append(text.substr(i, length));
        i += length;
    }
    out += '"';
    return out;
}

namespace {

/// How ReadLine ended.
enum class LineRead {
    Line,     ///< a line was read, its line feed dropped
    End,      ///< the script has no byte left
    TooLong,  ///< the line went on past the limit; the rest of it is left unread
    Failed,   ///< the script cannot be read; errno says why
};

/// Holds the lock of a stream while its bytes are read one by one.
class StreamLock {
  public:
#ifdef _WIN32
    explicit StreamLock(std::FILE* file) : file_(file) {
        _lock_file(file_);
    }
    ~StreamLock() {
        _unlock_file(file_);
    }
#else
    explicit StreamLock(std::FILE* file) : file_(file) {
        flockfile(file_);
    }
    ~StreamLock() {
        funlockfile(file_);
    }
#endif
    StreamLock(const StreamLock&) = delete;
    StreamLock& operator=(const StreamLock&) = delete;

  private:
    std::FILE* file_;
};

/// Reads the bytes of `in` up to the next line feed into `line`, or stops after `limit`
/// bytes without one.
LineRead ReadLine(std::FILE* in, std::string& line, std::size_t limit) {
    line.clear();
    const StreamLock lock(in);
    int c = 0;
    errno = 0;
#ifdef _WIN32
    while ((c = _getc_nolock(in)) != EOF && c != '\n') {
#else
    while ((c = getc_unlocked(in)) != EOF && c != '\n') {
#endif
        if (line.size() == limit)
            return LineRead::TooLong;
        line += static_cast<char>(c);
    }
    if (c == EOF && std::ferror(in))
        return LineRead::Failed;
    return c == EOF && line.empty() ? LineRead::End : LineRead::Line;
}

/// RunScript's work, up to the status. `number` is the number of the line being read or
/// carried out, 0 while the session starts. Running out of memory leaves by std::bad_alloc,
/// which releases the session and the line.
int RunLines(std::FILE* in, const std::string& source, Output& out, std::FILE* err,
             unsigned long& number) {
    const auto write = [&out](const std::string& text) { out.Write(text); };
    const auto fail = [&](const std::string& message) {
        std::fflush(out.File());
        std::fprintf(err, "velmora-cli: %s:%lu: %s\n", source.c_str(), number, message.c_str());
        return kExitBadScript;
    };

    Session session;
    write(session.StartupOutput());

    // A line end and a byte order mark are read along with the line and dropped afterwards.
    constexpr std::size_t kReadLimit = kMaxLineBytes + 1 + kByteOrderMark.size();
    std::string buffer;
    for (number = 1;; ++number) {
        const LineRead read = ReadLine(in, buffer, kReadLimit);
        if (read == LineRead::End)
            return kExitRan;
        if (read == LineRead::Failed)
            return fail(std::string("cannot be read: ") + std::strerror(errno));
        std::string_view line = buffer;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (number == 1 && line.starts_with(kByteOrderMark))
            line.remove_prefix(kByteOrderMark.size());
        if (read == LineRead::TooLong || line.size() > kMaxLineBytes) {
            return fail("line longer than " + std::to_string(kMaxLineBytes >> 20) + " MiB (" +
                        std::to_string(kMaxLineBytes) + " bytes)");
        }

        const ScriptLine parsed = Interpret(line);
        if (const auto* bad = std::get_if<BadLine>(&parsed))
            return fail(bad->reason + ": " + Quoted(line));
        write(session.Execute(parsed));
    }
}

}  // namespace

int RunScript(std::FILE* in, std::string_view name, std::FILE* out, std::FILE* err) {
    unsigned long number = 0;
    int status = kExitRan;
    Output output(out);
    try {
        status = RunLines(in, std::string(name), output, err, number);
    } catch (const std::bad_alloc&) {
        // Written without allocating: the memory that ran out is still short.
        std::fflush(out);
        if (number == 0) {
            std::fputs("velmora-cli: out of memory\n", err);
        } else {
            std::fprintf(err, "velmora-cli: %.*s:%lu: out of memory\n",
                         static_cast<int>(name.size()), name.data(), number);
        }
        status = kExitBadScript;
    }
    return output.Finish(err, status);
}

std::string WriteFailureText(int error) {
    std::string text = "velmora-cli: cannot write the output";
    if (error != 0) {
        text += ": ";
        text += std::strerror(error);
    }
    return text + "\n";
}

void Output::Write(std::string_view text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() && error_ == 0)
        error_ = errno;
}

int Output::Finish(std::FILE* err, int status) {
    errno = 0;
    const bool flushed = std::fflush(file_) == 0;
    if (!flushed && error_ == 0)
        error_ = errno;
    if ((!flushed || std::ferror(file_)) && status == kExitRan) {
        std::fputs(WriteFailureText(error_).c_str(), err);
        return kExitFailed;
    }
    return status;
}

}  // namespace velmora::cli
