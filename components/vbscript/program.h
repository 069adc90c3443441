#pragma once
// What the compiler produces and the interpreter runs: procedures with their
// bytecode, classes, and the script-level symbol table and globals that
// every piece of code added to one engine shares.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "ast.h"
#include "opcodes.h"
#include "value.h"

namespace zorv::vbs {

struct ClassInfo;

// A name used by an instruction, and what it was found to be at run time.
struct NameSite {
    std::u16string name;
    int resolvedKind = -1; // a SymbolKind once resolved
    int index = 0;
    const ClassInfo* cachedClass = nullptr; // member sites: the class of the last object
    int cachedMember = -1;
    bool declares = false; // a Dim run by Execute: the name becomes the procedure's
};

// A procedure's local name, kept so that code it runs with Execute or Eval
// can reach its variables.
struct LocalName {
    std::u16string folded;
    int slot = 0;
    bool isRef = false;
    bool isConst = false;
    Value constant;
};

struct ResumeRange {
    std::uint32_t start;
    std::uint32_t end;
    std::uint32_t resume; // where On Error Resume Next continues: end, or after a loop for its condition
};

struct Procedure {
    std::u16string name;
    ProcKind kind = ProcKind::Sub;
    bool isTopLevel = false;
    bool isPublic = true;
    int paramCount = 0;
    std::vector<std::uint8_t> byRef;
    bool anyByVal = false; // a call then has references to turn into values
    int localCount = 0;
    int resultSlot = -1;
    // The variables that Execute declares in a procedure (Dim in the code
    // it runs) live in this hidden slot of the procedure's frame, for as
    // long as the call; -1 when the procedure never runs Execute. Code run
    // by Execute reaches its caller's through outerFrameNamesSlot.
    int frameNamesSlot = -1;
    int outerFrameNamesSlot = -1;
    int maxStack = 0;
    std::vector<std::int32_t> code;
    std::vector<SourcePos> positions; // one per code word
    std::vector<ResumeRange> resumes; // sorted by start
    std::vector<Value> constants;
    std::vector<NameSite> sites;
    std::vector<LocalName> localNames;
    ClassInfo* owner = nullptr;
    std::shared_ptr<const std::u16string> source; // for the text of the line in errors
    // The code and its positions count against the memory guard for as
    // long as the procedure lives.
    MemoryHold memory;
};

struct ClassMember {
    std::u16string name;
    bool isPublic = true;
    int field = -1;
    Procedure* method = nullptr; // Sub, Function or Property Get
    Procedure* let = nullptr;
    Procedure* set = nullptr;
};

struct FieldInfo {
    std::u16string name;
    std::vector<std::int32_t> bounds; // a fixed array field: its upper bounds
    bool isArray = false;
};

struct ClassInfo {
    std::u16string name;
    std::vector<FieldInfo> fields;
    std::vector<ClassMember> members;               // dispatch identifier = index + 1
    std::unordered_map<std::u16string, int> byName; // folded name -> member index
    int defaultMember = -1;
    Procedure* initialize = nullptr;
    Procedure* terminate = nullptr;

    const ClassMember* Find(std::u16string_view name) const;
};

enum class SymbolKind { Variable, Procedure, Class, Constant };

struct Symbol {
    SymbolKind kind;
    int index; // global slot, procedure or class index
    Value constant;
};

// Stable addresses: references to globals live across later AddCode calls.
// One block reserved whole from zeroed pages (an Empty value is all zero
// bits, and pages no script reaches are never touched), so that a global
// is one index from a start that never moves.
class GlobalStore {
public:
    static constexpr int kCapacity = 1 << 20;

    GlobalStore() : values_(static_cast<Value*>(std::calloc(kCapacity, sizeof(Value)))) {
        if (values_ == nullptr)
            throw std::bad_alloc();
    }
    ~GlobalStore() {
        for (int i = 0; i < count_; ++i)
            values_[i].Clear();
        std::free(values_);
    }
    GlobalStore(const GlobalStore&) = delete;
    GlobalStore& operator=(const GlobalStore&) = delete;

    int Add() {
        if (count_ == kCapacity)
            throw std::bad_alloc();
        return count_++;
    }
    Value& operator[](int i) { return values_[i]; }
    Value* Data() { return values_; }
    int Count() const { return count_; }

private:
    Value* values_;
    int count_ = 0;
};

struct Program {
    std::unordered_map<std::u16string, Symbol> symbols; // folded names
    std::vector<std::unique_ptr<Procedure>> procedures;
    std::vector<std::unique_ptr<ClassInfo>> classes;
    GlobalStore globals;
    bool optionExplicit = false;

    const Symbol* Find(std::u16string_view name) const;
};

std::u16string Folded(std::u16string_view name);

} // namespace zorv::vbs
