#pragma once
// A pseudo-terminal whose far end plays a serial port: raw, so every byte a
// program writes arrives as it was sent. The slave stays open here too, so a
// program closing and reopening its end does not hang up the line.
#include <string>

namespace zorv::tools {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal();

    // False with error set (an errno value) when no terminal could be made.
    bool Open(int& error);

    int Master() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

} // namespace zorv::tools
