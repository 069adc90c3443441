#pragma once
// From the screen a display shows to the screen wanted, in as few bytes as
// the command set allows (a serial display takes about a millisecond a
// byte), ties going to fewer commands. Text is always written in overwrite
// mode; the wanted scroll mode is set afterwards. When the wanted screen
// needs something the command set lacks, nothing at all is produced: the
// caller gets the list and decides, so a display never gets half a change.
#include <string>
#include <vector>

#include "protocols/display/command_set.h"
#include "protocols/display/screen.h"

namespace zorv::opos::display {

struct ScreenChanges {
    std::string bytes; // empty when unsupported is not
    std::vector<Command> commands;
    std::vector<Feature> unsupported;
    std::size_t unmappable = 0; // characters sent as '?'
};

// Both screens must have the same size; otherwise this is a full refresh.
ScreenChanges EncodeChanges(Protocol protocol, const Screen& current, const Screen& wanted);
// From an unknown state: initialise, then set everything wanted.
ScreenChanges EncodeFullRefresh(Protocol protocol, const Screen& wanted);

} // namespace zorv::opos::display
