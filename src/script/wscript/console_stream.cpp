#include "script/wscript/console_stream.h"

#include <iostream>
#include <string>

#include "platform/com/table_dispatch.h"
#include "platform/com/text.h"

namespace zorv::tools {
namespace {

constexpr SCODE kBadFileMode = static_cast<SCODE>(0x800A0036u);
constexpr SCODE kPastEnd = static_cast<SCODE>(0x800A003Eu);

class ConsoleStream final : public com::TableDispatch<ConsoleStream> {
public:
    explicit ConsoleStream(StreamKind kind) : kind_(kind) {}

    static const com::DispatchTable<ConsoleStream>& DispatchMembers() {
        static const com::DispatchTable<ConsoleStream> table{
            {u"ReadLine", 1, nullptr, nullptr, &ConsoleStream::ReadLine},
            {u"ReadAll", 2, nullptr, nullptr, &ConsoleStream::ReadAll},
            {u"Read", 3, nullptr, nullptr, &ConsoleStream::Read},
            {u"Skip", 4, nullptr, nullptr, &ConsoleStream::Skip},
            {u"SkipLine", 5, nullptr, nullptr, &ConsoleStream::SkipLine},
            {u"AtEndOfStream", 6, &ConsoleStream::AtEndOfStream},
            {u"AtEndOfLine", 7, &ConsoleStream::AtEndOfLine},
            {u"Write", 8, nullptr, nullptr, &ConsoleStream::Write},
            {u"WriteLine", 9, nullptr, nullptr, &ConsoleStream::WriteLine},
            {u"WriteBlankLines", 10, nullptr, nullptr, &ConsoleStream::WriteBlankLines},
            {u"Close", 11, nullptr, nullptr, &ConsoleStream::Close},
            {u"Line", 12, &ConsoleStream::Line},
            {u"Column", 13, &ConsoleStream::Column},
        };
        return table;
    }

private:
    std::u16string_view DispatchSource() const override { return u"TextStream"; }

    void RequireReading() const {
        if (kind_ != StreamKind::In)
            throw com::DispatchException(u"Mode d'accès au fichier incorrect", kBadFileMode);
    }
    void RequireWriting() const {
        if (kind_ == StreamKind::In)
            throw com::DispatchException(u"Mode d'accès au fichier incorrect", kBadFileMode);
    }
    void RequireMore() const {
        if (std::cin.peek() == std::char_traits<char>::eof())
            throw com::DispatchException(u"L'entrée dépasse la fin de fichier", kPastEnd);
    }
    std::ostream& Out() const { return kind_ == StreamKind::Err ? std::cerr : std::cout; }

    // Reads one character of UTF-8 (a whole sequence) as text.
    std::string NextCharacter() {
        std::string bytes(1, static_cast<char>(std::cin.get()));
        const auto lead = static_cast<unsigned char>(bytes[0]);
        const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        for (int i = 0; i < more && std::cin.peek() != std::char_traits<char>::eof(); ++i)
            bytes += static_cast<char>(std::cin.get());
        Advance(bytes);
        return bytes;
    }
    void Advance(const std::string& bytes) {
        for (char c : bytes) {
            if (c == '\n') {
                ++line_;
                column_ = 1;
            } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                ++column_;
            }
        }
    }

    void ReadLine(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(0, 0);
        RequireReading();
        RequireMore();
        std::string text;
        std::getline(std::cin, text);
        ++line_;
        column_ = 1;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        result = com::Variant(std::u16string_view(com::Utf8ToUtf16(text))).Detach();
    }
    void ReadAll(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(0, 0);
        RequireReading();
        std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
        Advance(text);
        result = com::Variant(std::u16string_view(com::Utf8ToUtf16(text))).Detach();
    }
    void Read(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 1);
        RequireReading();
        const LONG count = args.Long(0);
        std::string text;
        for (LONG i = 0; i < count && std::cin.peek() != std::char_traits<char>::eof(); ++i)
            text += NextCharacter();
        result = com::Variant(std::u16string_view(com::Utf8ToUtf16(text))).Detach();
    }
    void Skip(const com::DispatchArgs& args, VARIANT&) {
        args.ExpectCount(1, 1);
        RequireReading();
        const LONG count = args.Long(0);
        for (LONG i = 0; i < count && std::cin.peek() != std::char_traits<char>::eof(); ++i)
            NextCharacter();
    }
    void SkipLine(const com::DispatchArgs& args, VARIANT& result) {
        RequireMore();
        ReadLine(args, result);
        VariantClear(&result);
    }
    void AtEndOfStream(VARIANT& result) {
        RequireReading();
        result = com::Variant(std::cin.peek() == std::char_traits<char>::eof()).Detach();
    }
    void AtEndOfLine(VARIANT& result) {
        RequireReading();
        const int next = std::cin.peek();
        result = com::Variant(next == std::char_traits<char>::eof() || next == '\n' || next == '\r').Detach();
    }
    void Write(const com::DispatchArgs& args, VARIANT&) {
        args.ExpectCount(1, 1);
        RequireWriting();
        const std::string text = com::Utf16ToUtf8(args.String(0));
        Advance(text);
        Out() << text << std::flush;
    }
    void WriteLine(const com::DispatchArgs& args, VARIANT&) {
        args.ExpectCount(0, 1);
        RequireWriting();
        const std::string text = args.Count() > 0 ? com::Utf16ToUtf8(args.String(0)) : std::string();
        Advance(text + "\n");
        Out() << text << '\n' << std::flush;
    }
    void WriteBlankLines(const com::DispatchArgs& args, VARIANT&) {
        args.ExpectCount(1, 1);
        RequireWriting();
        for (LONG i = args.Long(0); i > 0; --i) {
            Advance("\n");
            Out() << '\n';
        }
        Out() << std::flush;
    }
    void Close(const com::DispatchArgs& args, VARIANT&) { args.ExpectCount(0, 0); }
    void Line(VARIANT& result) { result = com::Variant(line_).Detach(); }
    void Column(VARIANT& result) { result = com::Variant(column_).Detach(); }

    StreamKind kind_;
    LONG line_ = 1;
    LONG column_ = 1;
};

} // namespace

com::ComPtr<IDispatch> MakeConsoleStream(StreamKind kind) {
    return com::ComPtr<IDispatch>(com::MakeObject<ConsoleStream>(kind).Get());
}

} // namespace zorv::tools
