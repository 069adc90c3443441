#pragma once
// A device's statistics as the standard names them, kept in a small XML file
// per logical device so that they survive a restart as a real device's do.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/kind_info.h"

namespace zorv::opos {

struct StatisticsIdentity {
    std::u16string category; // the standard's device category, "POSPrinter"
    std::u16string model;
    std::u16string serial; // the logical device name
    std::u16string firmware;
    std::u16string connection; // how the device is reached
};

class Statistics {
public:
    Statistics(Kind kind, std::filesystem::path file, StatisticsIdentity identity);

    // Reads the file; a missing or damaged one starts afresh, and Note() says so.
    void Load();
    void Save() const;
    const std::u16string& Note() const { return note_; }

    void Add(std::u16string_view name, std::uint64_t count = 1);
    std::uint64_t Value(std::u16string_view name) const;
    // Powered time runs while some control object has the device enabled.
    void Powered(bool on);

    // The standard's three methods; each answers a result code. `request`
    // is "" (all), "U_" (the standard's), "M_" (ours) or a list of names.
    LONG Retrieve(std::u16string_view request, std::u16string& xml) const;
    LONG Reset(std::u16string_view request);
    // "Name=Value,..." or "U_=0" and the like.
    LONG Update(std::u16string_view request);

private:
    struct Entry {
        std::u16string name;
        bool standard;
        bool resettable;
        std::uint64_t value = 0;
    };
    Entry* Find(std::u16string_view name);
    std::vector<Entry*> Select(std::u16string_view request, bool& known);
    std::uint64_t PoweredSeconds() const;
    std::string Xml(const std::vector<const Entry*>& entries) const;
    bool Parse(const std::string& text);

    std::filesystem::path file_;
    StatisticsIdentity identity_;
    std::vector<Entry> entries_;
    std::u16string installed_;
    std::u16string note_;
    std::uint64_t poweredSeconds_ = 0;
    int poweredHolders_ = 0;
    std::chrono::steady_clock::time_point poweredSince_;
};

} // namespace zorv::opos
