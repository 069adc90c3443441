#include "text_stream.h"

#include <cerrno>
#include <fstream>
#include <iterator>

#include "errors.h"
#include "path_text.h"
#include "system_files.h"

namespace zorv::scripting {
namespace {

// Beyond this a file is not read whole into a script's memory.
constexpr std::uintmax_t kLargestReadable = std::uintmax_t{1} << 28;

std::error_code LastError() {
    return std::error_code(errno, std::generic_category());
}

LONG CountArg(const Invocation& call, UINT at) {
    const LONG count = call.args.Long(at);
    if (count < 0)
        Raise(kInvalidCall);
    return count;
}

} // namespace

TextStream::TextStream(const StreamRequest& request) : mode_(request.mode) {
    if (mode_ == IoMode::Reading)
        OpenForReading(request);
    else
        OpenForWriting(request);
}

TextStream::~TextStream() {
    if (file_ != nullptr)
        std::fclose(file_);
}

std::span<const Member<TextStream>> TextStream::Members() {
    static const Member<TextStream> members[] = {
        {u"Line", 1, &TextStream::Line},
        {u"Column", 2, &TextStream::Column},
        {u"AtEndOfStream", 3, &TextStream::AtEndOfStream},
        {u"AtEndOfLine", 4, &TextStream::AtEndOfLine},
        {u"Read", 5, &TextStream::Read},
        {u"ReadLine", 6, &TextStream::ReadLine},
        {u"ReadAll", 7, &TextStream::ReadAll},
        {u"Write", 8, &TextStream::Write},
        {u"WriteLine", 9, &TextStream::WriteLine},
        {u"WriteBlankLines", 10, &TextStream::WriteBlankLines},
        {u"Skip", 11, &TextStream::Skip},
        {u"SkipLine", 12, &TextStream::SkipLine},
        {u"Close", 13, &TextStream::Close},
    };
    return members;
}

// Only regular files: a device or a pipe would never end.
void TextStream::OpenForReading(const StreamRequest& request) {
    std::error_code failed;
    const auto status = std::filesystem::status(request.path, failed);
    if (failed)
        RaiseFor(failed);
    if (std::filesystem::is_directory(status))
        Raise(kPermissionDenied);
    if (!std::filesystem::is_regular_file(status))
        Raise(kPathFileAccess);
    if (std::filesystem::file_size(request.path, failed) > kLargestReadable)
        Raise(kOutOfMemory);
    std::ifstream in(request.path, std::ios::binary);
    if (!in)
        Raise(kPermissionDenied);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    format_ = FormatFor(request.tristate, bytes);
    text_ = Decode(bytes, format_);
}

void TextStream::OpenForWriting(const StreamRequest& request) {
    std::error_code failed;
    const bool appending = mode_ == IoMode::Appending;
    const std::uintmax_t size = std::filesystem::exists(request.path, failed) && !request.mustBeNew
                                    ? std::filesystem::file_size(request.path, failed)
                                    : 0;
    std::string head;
    if (appending && size > 0) {
        std::ifstream in(request.path, std::ios::binary);
        head.resize(3);
        in.read(head.data(), 3);
        head.resize(static_cast<std::size_t>(in.gcount()));
    }
    format_ = appending && size > 0
                  ? FormatFor(request.tristate, head)
                  : (request.tristate == kTristateTrue ? TextFormat::Unicode : TextFormat::Ansi);
    file_ = OpenFileForWriting(request.path, appending, request.mustBeNew);
    if (file_ == nullptr)
        RaiseFor(LastError(), std::filesystem::exists(
                                  request.path.parent_path().empty() ? "." : request.path.parent_path())
                                  ? kFileNotFound
                                  : kPathNotFound);
    if (!appending || size == 0) {
        const std::string_view mark =
            format_ == TextFormat::Unicode ? ByteOrderMark(format_) : std::string_view();
        if (!mark.empty() && std::fwrite(mark.data(), 1, mark.size(), file_) != mark.size())
            RaiseFor(LastError());
    }
}

void TextStream::RequireReading() const {
    if (closed_)
        Raise(kBadFileName);
    if (mode_ != IoMode::Reading)
        Raise(kBadFileMode);
}

void TextStream::RequireWriting() const {
    if (closed_)
        Raise(kBadFileName);
    if (mode_ == IoMode::Reading)
        Raise(kBadFileMode);
}

void TextStream::RequireMore() const {
    if (next_ >= text_.size())
        Raise(kPastEndOfFile);
}

std::size_t TextStream::LineEndAt(std::size_t at) const {
    if (at >= text_.size())
        return 0;
    if (text_[at] == u'\r')
        return at + 1 < text_.size() && text_[at + 1] == u'\n' ? 2 : 1;
    return text_[at] == u'\n' ? 1 : 0;
}

// Takes up to `count` characters, counting lines and columns as they go.
std::u16string TextStream::Take(std::size_t count) {
    const std::size_t end = std::min(text_.size(), next_ + count);
    std::u16string taken = text_.substr(next_, end - next_);
    for (; next_ < end; ++next_) {
        if (text_[next_] == u'\n' || (text_[next_] == u'\r' && LineEndAt(next_) == 1)) {
            ++line_;
            column_ = 1;
        } else if (text_[next_] != u'\r') {
            ++column_;
        }
    }
    return taken;
}

void TextStream::Put(std::u16string_view text) {
    const std::string bytes = Encode(text, format_);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() || std::fflush(file_) != 0)
        RaiseFor(LastError());
    for (char16_t c : text) {
        if (c == u'\n') {
            ++line_;
            column_ = 1;
        } else if (c != u'\r') {
            ++column_;
        }
    }
}

void TextStream::Line(Invocation& call) {
    call.result = com::Variant(line_).Detach();
}
void TextStream::Column(Invocation& call) {
    call.result = com::Variant(column_).Detach();
}

void TextStream::AtEndOfStream(Invocation& call) {
    RequireReading();
    call.result = com::Variant(next_ >= text_.size()).Detach();
}

void TextStream::AtEndOfLine(Invocation& call) {
    RequireReading();
    call.result = com::Variant(next_ >= text_.size() || LineEndAt(next_) > 0).Detach();
}

void TextStream::Read(Invocation& call) {
    call.args.ExpectCount(1, 1);
    RequireReading();
    const LONG count = CountArg(call, 0);
    RequireMore();
    call.result = com::Variant(std::u16string_view(Take(static_cast<std::size_t>(count)))).Detach();
}

void TextStream::ReadLine(Invocation& call) {
    call.args.ExpectCount(0, 0);
    RequireReading();
    RequireMore();
    std::size_t end = next_;
    while (end < text_.size() && LineEndAt(end) == 0)
        ++end;
    std::u16string line = Take(end - next_);
    Take(LineEndAt(next_));
    call.result = com::Variant(std::u16string_view(line)).Detach();
}

void TextStream::ReadAll(Invocation& call) {
    call.args.ExpectCount(0, 0);
    RequireReading();
    RequireMore();
    call.result = com::Variant(std::u16string_view(Take(text_.size()))).Detach();
}

void TextStream::Skip(Invocation& call) {
    call.args.ExpectCount(1, 1);
    RequireReading();
    const LONG count = CountArg(call, 0);
    RequireMore();
    Take(static_cast<std::size_t>(count));
}

void TextStream::SkipLine(Invocation& call) {
    VARIANT skipped;
    VariantInit(&skipped);
    Invocation read{call.flags, call.args, nullptr, skipped};
    ReadLine(read);
    VariantClear(&skipped);
}

void TextStream::Write(Invocation& call) {
    call.args.ExpectCount(1, 1);
    RequireWriting();
    Put(call.args.String(0));
}

// Lines end with CR LF, as in files that scripts from the classic host write.
void TextStream::WriteLine(Invocation& call) {
    call.args.ExpectCount(0, 1);
    RequireWriting();
    Put((call.args.Count() > 0 ? call.args.String(0) : std::u16string()) + u"\r\n");
}

void TextStream::WriteBlankLines(Invocation& call) {
    call.args.ExpectCount(1, 1);
    RequireWriting();
    std::u16string lines;
    for (LONG i = CountArg(call, 0); i > 0; --i)
        lines += u"\r\n";
    Put(lines);
}

void TextStream::Close(Invocation& call) {
    call.args.ExpectCount(0, 0);
    closed_ = true;
    if (file_ != nullptr) {
        const int failed = std::fclose(file_);
        file_ = nullptr;
        if (failed != 0)
            RaiseFor(LastError());
    }
}

com::ComPtr<IDispatch> CreateTextFile(std::u16string_view path, bool overwrite, bool unicode) {
    StreamRequest request;
    request.path = ToPath(path);
    request.mode = IoMode::Writing;
    request.tristate = unicode ? kTristateTrue : kTristateFalse;
    request.mustBeNew = !overwrite;
    std::error_code failed;
    if (std::filesystem::is_directory(request.path, failed))
        Raise(kPermissionDenied);
    return com::ComPtr<IDispatch>(com::MakeObject<TextStream>(request).Get());
}

com::ComPtr<IDispatch> OpenTextFile(std::u16string_view path, IoMode mode, bool create, long tristate) {
    if (mode != IoMode::Reading && mode != IoMode::Writing && mode != IoMode::Appending)
        Raise(kInvalidCall);
    StreamRequest request;
    request.path = ToPath(path);
    request.mode = mode;
    request.tristate = tristate;
    std::error_code failed;
    if (mode != IoMode::Reading && !create && !std::filesystem::exists(request.path, failed)) {
        const std::filesystem::path parent = request.path.parent_path();
        Raise(std::filesystem::exists(parent.empty() ? "." : parent, failed) ? kFileNotFound : kPathNotFound);
    }
    return com::ComPtr<IDispatch>(com::MakeObject<TextStream>(request).Get());
}

} // namespace zorv::scripting
