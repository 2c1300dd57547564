#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "Bench.h"

namespace velmora {

/// A bench command as the student and a script name it.
struct CommandName {
    Command Which;
    std::string_view ScriptWord;  ///< the word of a script line that runs it ("move")
    std::u16string_view Caption;  ///< the caption of the button that runs it ("Сдвиг")
};

/// The one table of the nine commands, in the order of `Command`: the window's buttons show
/// these captions, velmora-cli's and the web module's scripts take these words, and every
/// one of them runs the command through `Bench::Run`.
inline constexpr std::array<CommandName, 9> kCommandNames = {{
    {Command::Reset, "reset", u"Начать/Сброс"},
    {Command::Move, "move", u"Сдвиг"},
    {Command::RotatePlus, "rotate+", u"Поворот +"},
    {Command::RotateMinus, "rotate-", u"Поворот -"},
    {Command::StepX, "stepx", u"Шаг по X"},
    {Command::StepY, "stepy", u"Шаг по Y"},
    {Command::GoToStart, "start", u"В начало"},
    {Command::RecordValues, "record", u"Записать"},
    {Command::EraseProtocol, "erase", u"Стереть"},
}};

/// The table's entry of `command`.
constexpr const CommandName& NameOf(Command command) {
    return kCommandNames[static_cast<std::size_t>(command)];
}

/// The command whose script word is exactly `word`, if any.
constexpr std::optional<Command> CommandOfWord(std::string_view word) {
    for (const CommandName& name : kCommandNames) {
        if (name.ScriptWord == word)
            return name.Which;
    }
    return std::nullopt;
}

// The table is indexed by the command.
static_assert([] {
    for (std::size_t i = 0; i < kCommandNames.size(); ++i) {
        if (static_cast<std::size_t>(kCommandNames[i].Which) != i)
            return false;
    }
    return true;
}());

}  // namespace velmora
