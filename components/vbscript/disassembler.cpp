#include "disassembler.h"

#include <algorithm>

namespace zorv::vbs {

std::string Disassemble(const Procedure& proc) {
    std::string listing;
    const auto& code = proc.code;
    for (std::size_t at = 0; at < code.size();) {
        const auto op = static_cast<std::size_t>(code[at]);
        if (op >= std::size(kOpName)) {
            listing += std::to_string(at) + " ?" + std::to_string(code[at]) + "\n";
            ++at;
            continue;
        }
        listing += std::to_string(at) + ' ';
        listing += kOpName[op];
        const std::size_t end = std::min(code.size(), at + 1 + static_cast<std::size_t>(kOperandCount[op]));
        for (std::size_t i = at + 1; i < end; ++i)
            listing += ' ' + std::to_string(code[i]);
        listing += '\n';
        at = end;
    }
    return listing;
}

} // namespace zorv::vbs
