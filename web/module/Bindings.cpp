// The embind surface of the web module: the bench (class Bench) and the fixed tables of
// commands, rows, options and layers. Texts come out as views of the module's memory
// (Uint16Array for UTF-16, Uint8Array for ASCII, Float64Array for points), valid until the
// next call into the module; the TypeScript layer (web/src) copies them at once. Nothing
// here throws: an index out of range gives an empty view, 0 or false.
#include <emscripten/bind.h>

#include <cstdint>
#include <string_view>

#include "Commands.h"
#include "WebBench.h"

namespace velmora::web {

namespace {

using emscripten::typed_memory_view;
using emscripten::val;

val Utf16View(std::u16string_view text) {
    return val(typed_memory_view(text.size(), reinterpret_cast<const std::uint16_t*>(text.data())));
}

val AsciiView(std::string_view text) {
    return val(typed_memory_view(text.size(), reinterpret_cast<const std::uint8_t*>(text.data())));
}

bool IsRow(int index) {
    return index >= 0 && index < kReadoutRowCount;
}

bool IsCommand(int index) {
    return index >= 0 && static_cast<std::size_t>(index) < kCommandNames.size();
}

bool IsLayer(int index) {
    return index >= 0 && static_cast<std::size_t>(index) < kLayerCount;
}

/// A revision counter as a JavaScript number: exact up to 2^53, which no session reaches.
double Count(unsigned long long count) {
    return static_cast<double>(count);
}

val StageText(WebBench& bench, double length) {
    char16_t* place = length >= 0 && length <= double(SIZE_MAX / sizeof(char16_t))
                          ? bench.StageText(static_cast<std::size_t>(length))
                          : nullptr;
    if (place == nullptr)
        return val::null();
    return val(typed_memory_view(static_cast<std::size_t>(length),
                                 reinterpret_cast<std::uint16_t*>(place)));
}

val ErrorText(const WebBench& bench) {
    return Utf16View(bench.ErrorText());
}

val RowValue(const WebBench& bench, int row) {
    return Utf16View(IsRow(row) ? std::u16string_view(bench.Lab().Table().Value(ReadoutRowAt(row)))
                                : std::u16string_view());
}

double RowRevision(const WebBench& bench, int row) {
    return IsRow(row) ? Count(bench.Lab().Table().RowRevision(ReadoutRowAt(row))) : 0;
}

double TableRevision(const WebBench& bench) {
    return Count(bench.Lab().Table().Revision());
}

double ProtocolLineCount(const WebBench& bench) {
    return Count(bench.Lab().Protocol().Lines().size());
}

val ProtocolLine(const WebBench& bench, double index) {
    const auto& lines = bench.Lab().Protocol().Lines();
    if (!(index >= 0 && index < double(lines.size())))
        return Utf16View({});
    return Utf16View(lines[static_cast<std::size_t>(index)]);
}

double ProtocolClearCount(const WebBench& bench) {
    return Count(bench.Lab().Protocol().ClearCount());
}

val LayerPoints(const WebBench& bench, int layer) {
    if (!IsLayer(layer))
        return val(typed_memory_view(0, static_cast<const double*>(nullptr)));
    // A point is two doubles, x then y, with nothing between points.
    static_assert(sizeof(PlotPoint) == 2 * sizeof(double));
    const auto& points = bench.Lab().Scene().Points(static_cast<Layer>(layer));
    return val(
        typed_memory_view(2 * points.size(), reinterpret_cast<const double*>(points.data())));
}

double LayerRevision(const WebBench& bench, int layer) {
    return IsLayer(layer) ? Count(bench.Lab().Scene().Revision(static_cast<Layer>(layer))) : 0;
}

double SceneResetCount(const WebBench& bench) {
    return Count(bench.Lab().Scene().ResetCount());
}

int CommandCount() {
    return static_cast<int>(kCommandNames.size());
}

val CommandWord(int index) {
    return AsciiView(IsCommand(index) ? kCommandNames[static_cast<std::size_t>(index)].ScriptWord
                                      : std::string_view());
}

val CommandCaption(int index) {
    return Utf16View(IsCommand(index) ? kCommandNames[static_cast<std::size_t>(index)].Caption
                                      : std::u16string_view());
}

int RowCount() {
    return kReadoutRowCount;
}

val RowKey(int index) {
    return Utf16View(IsRow(index) ? KeyOf(ReadoutRowAt(index)) : std::u16string_view());
}

int OptionCount() {
    return static_cast<int>(BenchOption::WriteProtocol) + 1;
}

int LayerCount() {
    return static_cast<int>(kLayerCount);
}

val LayerName(int index) {
    return AsciiView(IsLayer(index) ? velmora::LayerName(static_cast<Layer>(index))
                                    : std::string_view());
}

}  // namespace

EMSCRIPTEN_BINDINGS(velmora) {
    using emscripten::function;
    emscripten::class_<WebBench>("Bench")
        .constructor<>()
        .function("run", &WebBench::Run)
        .function("stageText", &StageText)
        .function("typeStaged", &WebBench::TypeStaged)
        .function("setOption", &WebBench::SetOption)
        .function("option", &WebBench::Option)
        .function("optionsRevision", &WebBench::OptionsRevision)
        .function("setDecimalSeparator", &WebBench::SetDecimalSeparator)
        .function("decimalSeparator", &WebBench::DecimalSeparator)
        .function("errorText", &ErrorText)
        .function("rowValue", &RowValue)
        .function("rowRevision", &RowRevision)
        .function("tableRevision", &TableRevision)
        .function("protocolLineCount", &ProtocolLineCount)
        .function("protocolLine", &ProtocolLine)
        .function("protocolClearCount", &ProtocolClearCount)
        .function("layerPoints", &LayerPoints)
        .function("layerRevision", &LayerRevision)
        .function("sceneResetCount", &SceneResetCount);
    function("commandCount", &CommandCount);
    function("commandWord", &CommandWord);
    function("commandCaption", &CommandCaption);
    function("rowCount", &RowCount);
    function("rowKey", &RowKey);
    function("optionCount", &OptionCount);
    function("layerCount", &LayerCount);
    function("layerName", &LayerName);
}

}  // namespace velmora::web
