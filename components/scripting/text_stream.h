#pragma once
// "TextStream": a text file opened for reading (the whole text is decoded
// at open, then read from a cursor), writing or appending (each write is
// encoded and written at once, so nothing waits in a buffer of ours).
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>

#include "member_dispatch.h"
#include "text_codec.h"

namespace zorv::scripting {

enum class IoMode : long { Reading = 1, Writing = 2, Appending = 8 };

// How a stream is to be opened; the checks of existence and overwriting
// are the caller's, the stream only opens.
struct StreamRequest {
    std::filesystem::path path;
    IoMode mode = IoMode::Reading;
    long tristate = kTristateFalse;
    bool mustBeNew = false; // fails with 58 when the file exists, atomically
};

class TextStream final : public MemberDispatch<TextStream> {
public:
    // Raises the file error when the file cannot be opened.
    explicit TextStream(const StreamRequest& request);
    ~TextStream() override;
    static std::span<const Member<TextStream>> Members();
    std::u16string_view TypeName() const { return u"TextStream"; }

private:
    void OpenForReading(const StreamRequest& request);
    void OpenForWriting(const StreamRequest& request);
    void RequireReading() const;
    void RequireWriting() const;
    void RequireMore() const;
    void Put(std::u16string_view text);
    std::u16string Take(std::size_t count);
    std::size_t LineEndAt(std::size_t at) const; // length of the line end at `at`, or 0

    void Line(Invocation& call);
    void Column(Invocation& call);
    void AtEndOfStream(Invocation& call);
    void AtEndOfLine(Invocation& call);
    void Read(Invocation& call);
    void ReadLine(Invocation& call);
    void ReadAll(Invocation& call);
    void Skip(Invocation& call);
    void SkipLine(Invocation& call);
    void Write(Invocation& call);
    void WriteLine(Invocation& call);
    void WriteBlankLines(Invocation& call);
    void Close(Invocation& call);

    IoMode mode_;
    TextFormat format_ = TextFormat::Ansi;
    std::u16string text_; // reading: the whole file
    std::size_t next_ = 0;
    std::FILE* file_ = nullptr; // writing
    bool closed_ = false;
    LONG line_ = 1;
    LONG column_ = 1;
};

// CreateTextFile(path, overwrite, unicode): a new file for writing; one that
// exists is replaced only with overwrite, else 58.
com::ComPtr<IDispatch> CreateTextFile(std::u16string_view path, bool overwrite, bool unicode);
// OpenTextFile(path, mode, create, tristate): a missing file is created for
// writing or appending only with create, else 53.
com::ComPtr<IDispatch> OpenTextFile(std::u16string_view path, IoMode mode, bool create, long tristate);

} // namespace zorv::scripting
