#pragma once
// ESC/POS commands as bytes, one function per command of the public command
// reference. Nothing here sends anything: callers append the results to a job.
#include <cstdint>
#include <string>

namespace zorv::opos::escpos {

// Bytes as they travel to the printer.
using Bytes = std::string;

constexpr char kEsc = 0x1B;
constexpr char kGs = 0x1D;
constexpr char kDle = 0x10;
constexpr char kLf = 0x0A;

enum class Justification : uint8_t { Left = 0, Center = 1, Right = 2 };
enum class CutKind { Full, Partial };
enum class DrawerPin : uint8_t { Pin2 = 0, Pin5 = 1 };
// DLE EOT n: which status byte the printer sends back at once.
enum class StatusQuery : uint8_t { Printer = 1, OfflineCause = 2, ErrorCause = 3, PaperSensor = 4 };

// ESC @: clears the print buffer and every mode.
Bytes Initialize();
// ESC E n
Bytes Emphasis(bool on);
// ESC - n: 0 off, 1 thin, 2 thick.
Bytes Underline(int dots);
// GS ! n: width and height multipliers 1 to 8.
Bytes CharacterSize(int width, int height);
// ESC a n
Bytes Justify(Justification justification);
// GS B n: white on black.
Bytes ReverseVideo(bool on);
// ESC t n
Bytes SelectCodePage(uint8_t number);
// ESC d n (lines), ESC J n (dots), ESC e n (lines backwards); counts above 255 are split.
Bytes FeedLines(int lines);
Bytes FeedDots(int dots);
Bytes FeedBackLines(int lines);
// GS V m
Bytes Cut(CutKind kind);
// ESC p m t1 t2: on and off times in milliseconds, sent in 2 ms units.
Bytes DrawerKick(DrawerPin pin, int onMs, int offMs);
// DLE EOT n
Bytes RealTimeStatus(StatusQuery query);
// GS a n: which status groups the printer sends on its own when they change.
Bytes AutomaticStatusBack(uint8_t groups);

// GS a groups: drawer, online, error and paper sensors.
constexpr uint8_t kAsbAll = 0x0F;

} // namespace zorv::opos::escpos
