#pragma once
// The built-ins that live outside builtins.cpp, declared for its one table.
#include <span>

#include "value.h"

namespace zorv::vbs {

class Interpreter;

namespace library {

using Args = std::span<Value>;

bool Given(Args args, std::size_t i);

// dates and times (builtins_dates.cpp)
Value DateAdd(Interpreter&, Args);
Value DateDiff(Interpreter&, Args);
Value DatePart(Interpreter&, Args);
Value DateSerial(Interpreter&, Args);
Value DateValue(Interpreter&, Args);
Value TimeSerial(Interpreter&, Args);
Value TimeValue(Interpreter&, Args);
Value Year(Interpreter&, Args);
Value Month(Interpreter&, Args);
Value Day(Interpreter&, Args);
Value Hour(Interpreter&, Args);
Value Minute(Interpreter&, Args);
Value Second(Interpreter&, Args);
Value Weekday(Interpreter&, Args);
Value WeekdayName(Interpreter&, Args);
Value MonthName(Interpreter&, Args);
Value IsDate(Interpreter&, Args);
Value CDate(Interpreter&, Args);

// formatting and locale (builtins_dates.cpp)
Value FormatNumber(Interpreter&, Args);
Value FormatCurrency(Interpreter&, Args);
Value FormatPercent(Interpreter&, Args);
Value FormatDateTime(Interpreter&, Args);
Value GetLocale(Interpreter&, Args);
Value SetLocale(Interpreter&, Args);

} // namespace library
} // namespace zorv::vbs
