#pragma once
// WScript.StdIn, StdOut and StdErr: text streams over the process's
// standard streams, in UTF-8. StdIn reads (ReadLine, ReadAll, Read, Skip,
// SkipLine, AtEndOfStream, AtEndOfLine); the others write (Write,
// WriteLine, WriteBlankLines); Line and Column count as they go.
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

namespace zorv::tools {

enum class StreamKind { In, Out, Err };

com::ComPtr<IDispatch> MakeConsoleStream(StreamKind kind);

} // namespace zorv::tools
