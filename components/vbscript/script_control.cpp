#include "script_control.h"

#include <algorithm>

#include "com_bridge.h"
#include "event_binding.h"
#include "interpreter.h"
#include "platform/com/bstr_value.h"
#include "platform/com/described_type.h"
#include "platform/com/text.h"

namespace zorv::vbs {
namespace {

void SetText(VARIANT& result, std::u16string_view text) { result = com::Variant(text).Detach(); }

std::u16string Located(const ScriptError& error) {
    std::u16string text = error.description;
    if (error.positioned && error.pos.line > 0) {
        text += u" (ligne " + com::Utf8ToUtf16(std::to_string(error.pos.line)) + u", colonne " +
                com::Utf8ToUtf16(std::to_string(error.pos.column)) + u")";
    }
    return text;
}

} // namespace

// ------------------------------------------------------------------ Error

const com::DispatchTable<ScriptErrorObject>& ScriptErrorObject::DispatchMembers() {
    static const com::DispatchTable<ScriptErrorObject> table{
        {u"Number", 0, &ScriptErrorObject::GetNumber},
        {u"Description", 1, &ScriptErrorObject::GetDescription},
        {u"Source", 2, &ScriptErrorObject::GetSource},
        {u"Line", 3, &ScriptErrorObject::GetLine},
        {u"Column", 4, &ScriptErrorObject::GetColumn},
        {u"Text", 5, &ScriptErrorObject::GetText},
        {u"Clear", 6, nullptr, nullptr, &ScriptErrorObject::Clear},
    };
    return table;
}

void ScriptErrorObject::GetNumber(VARIANT& result) { result = com::Variant(LONG{last_->number}).Detach(); }
void ScriptErrorObject::GetDescription(VARIANT& result) { SetText(result, last_->description); }
void ScriptErrorObject::GetSource(VARIANT& result) { SetText(result, last_->source); }
void ScriptErrorObject::GetLine(VARIANT& result) { result = com::Variant(LONG{last_->line}).Detach(); }
void ScriptErrorObject::GetColumn(VARIANT& result) { result = com::Variant(LONG{last_->column}).Detach(); }
void ScriptErrorObject::GetText(VARIANT& result) { SetText(result, last_->text); }
void ScriptErrorObject::Clear(const com::DispatchArgs&, VARIANT&) { *last_ = LastError{}; }

// ------------------------------------------------------------------ control

ScriptControl::ScriptControl()
    : engine_(Engine::Create()), last_(std::make_shared<LastError>()), points_(*this) {
    errorObject_ = com::MakeObject<ScriptErrorObject>(last_).Get();
    points_.Add(kIidScriptControlEvents);
    engine_->Events().idleError = [this](const ScriptError& error) { HandlerFailed(error); };
}

// The engine may outlive the control (a script holding one of its objects).
ScriptControl::~ScriptControl() {
    engine_->Events().idleError = nullptr;
}

HRESULT ScriptControl::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    return points_.EnumConnectionPoints(ppEnum);
}

HRESULT ScriptControl::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    return points_.FindConnectionPoint(riid, ppCP);
}

HRESULT ScriptControl::GetClassInfo(ITypeInfo** ppTI) {
    if (ppTI == nullptr)
        return E_POINTER;
    *ppTI = com::MakeClassTypeInfo(u"ScriptControl", kClsidScriptControl,
                                   com::MakeDispatchTypeInfo(u"DScriptControlSource", kIidScriptControlEvents,
                                                             {{1, u"Error", {}}}))
                .Detach();
    return S_OK;
}

void ScriptControl::HandlerFailed(const ScriptError& error) {
    Keep(error);
    com::ComPtr<IDispatch> self(this); // a host's handler may release the control
    points_.Find(kIidScriptControlEvents)->FireDispatch(1, nullptr, 0);
}

const com::DispatchTable<ScriptControl>& ScriptControl::DispatchMembers() {
    static const com::DispatchTable<ScriptControl> table{
        {u"Language", 1, &ScriptControl::GetLanguage, &ScriptControl::PutLanguage},
        {u"AddCode", 2, nullptr, nullptr, &ScriptControl::AddCode},
        {u"Run", 3, nullptr, nullptr, &ScriptControl::Run},
        {u"Eval", 4, nullptr, nullptr, &ScriptControl::Eval},
        {u"ExecuteStatement", 5, nullptr, nullptr, &ScriptControl::ExecuteStatement},
        {u"Reset", 6, nullptr, nullptr, &ScriptControl::Reset},
        {u"AddObject", 7, nullptr, nullptr, &ScriptControl::AddObject},
        {u"AllowUI", 8, &ScriptControl::GetAllowUI, &ScriptControl::PutAllowUI},
        {u"Error", 9, &ScriptControl::GetError},
        {u"Timeout", 10, &ScriptControl::GetTimeout, &ScriptControl::PutTimeout},
        {u"MemoryLimit", 11, &ScriptControl::GetMemoryLimit, &ScriptControl::PutMemoryLimit},
        {u"ConnectObject", 12, nullptr, nullptr, &ScriptControl::ConnectObject},
        {u"DisconnectObject", 13, nullptr, nullptr, &ScriptControl::DisconnectObject},
        {u"Stopping", 14, &ScriptControl::GetStopping},
    };
    return table;
}

template <class Body>
void ScriptControl::Guarded(Body&& body) {
    *last_ = LastError{};
    try {
        body();
    } catch (const ScriptError& error) {
        Keep(error);
        throw com::DispatchException(Located(error), error.scode != 0 ? error.scode : ScodeOf(error.number));
    }
}

void ScriptControl::Keep(const ScriptError& error) {
    last_->number = error.number;
    last_->description = error.description;
    last_->source = error.source;
    last_->text = error.text;
    last_->line = error.positioned ? static_cast<int>(error.pos.line) : 0;
    last_->column = error.positioned ? static_cast<int>(error.pos.column) : 0;
}

void ScriptControl::RequireLanguage() const {
    if (language_.empty())
        throw com::DispatchException(u"Le langage du contrôle de script n'est pas défini", E_UNEXPECTED);
}

void ScriptControl::GetLanguage(VARIANT& result) { SetText(result, language_); }

void ScriptControl::PutLanguage(const VARIANT& value) {
    com::Variant text;
    if (FAILED(VariantChangeType(&text, &value, 0, VT_BSTR)))
        throw com::DispatchError{DISP_E_TYPEMISMATCH, 0};
    const std::u16string_view name = com::BstrView(text.bstrVal);
    if (!com::EqualsIgnoringCase(name, u"VBScript"))
        throw com::DispatchException(u"Langage de script non pris en charge : '" + std::u16string(name) +
                                         u"' (seul VBScript est disponible)",
                                     E_INVALIDARG);
    language_ = u"VBScript";
}

void ScriptControl::GetAllowUI(VARIANT& result) { result = com::Variant(engine_->allowUI).Detach(); }

void ScriptControl::PutAllowUI(const VARIANT& value) {
    com::Variant flag;
    if (FAILED(VariantChangeType(&flag, &value, VARIANT_ALPHABOOL, VT_BOOL)))
        throw com::DispatchError{DISP_E_TYPEMISMATCH, 0};
    engine_->allowUI = flag.boolVal != VARIANT_FALSE;
}

// Megabytes that the texts and arrays of every script in the process may hold together.
void ScriptControl::GetMemoryLimit(VARIANT& result) {
    result = com::Variant(static_cast<LONG>(std::min<std::size_t>(ScriptMemoryLimit() >> 20, 0x7FFFFFFF))).Detach();
}

void ScriptControl::PutMemoryLimit(const VARIANT& value) {
    com::Variant number;
    if (FAILED(VariantChangeType(&number, &value, 0, VT_I4)))
        throw com::DispatchError{DISP_E_TYPEMISMATCH, 0};
    if (number.lVal <= 0)
        throw com::DispatchException(u"Limite de mémoire invalide (mégaoctets, au moins 1)", E_INVALIDARG);
    SetScriptMemoryLimit(static_cast<std::size_t>(number.lVal) << 20);
}

void ScriptControl::GetTimeout(VARIANT& result) { result = com::Variant(LONG{engine_->timeoutMs}).Detach(); }

// Milliseconds, or -1 for no limit.
void ScriptControl::PutTimeout(const VARIANT& value) {
    com::Variant number;
    if (FAILED(VariantChangeType(&number, &value, 0, VT_I4)))
        throw com::DispatchError{DISP_E_TYPEMISMATCH, 0};
    if (number.lVal < -1)
        throw com::DispatchException(u"Délai invalide : " + com::Utf8ToUtf16(std::to_string(number.lVal)) +
                                         u" (millisecondes, ou -1 pour aucun délai)",
                                     E_INVALIDARG);
    engine_->timeoutMs = number.lVal;
}

void ScriptControl::GetStopping(VARIANT& result) {
    result = com::Variant(engine_->Events().ErrorPending()).Detach();
}

void ScriptControl::GetError(VARIANT& result) { result = com::Variant(errorObject_.Get()).Detach(); }

void ScriptControl::AddCode(const com::DispatchArgs& args, VARIANT&) {
    args.ExpectCount(1, 1);
    RequireLanguage();
    // A script text is read where it lies: it may be tens of megabytes.
    if (args.Raw(0).vt == VT_BSTR) {
        const std::u16string_view code = com::BstrView(args.Raw(0).bstrVal);
        Guarded([&] { engine_->AddCode(code); });
        return;
    }
    const std::u16string code = args.String(0);
    Guarded([&] { engine_->AddCode(code); });
}

void ScriptControl::ExecuteStatement(const com::DispatchArgs& args, VARIANT&) {
    args.ExpectCount(1, 1);
    RequireLanguage();
    const std::u16string code = args.String(0);
    Guarded([&] { engine_->AddCode(code); });
}

void ScriptControl::Run(const com::DispatchArgs& args, VARIANT& result) {
    if (args.Count() < 1)
        throw com::DispatchError{DISP_E_BADPARAMCOUNT};
    RequireLanguage();
    const std::u16string name = args.String(0);
    Guarded([&] {
        std::vector<Value> values;
        for (UINT i = 1; i < args.Count(); ++i)
            values.push_back(FromVariant(args.Raw(i)));
        const Value value = engine_->Run(name, values);
        ToVariant(value, result);
    });
}

void ScriptControl::Eval(const com::DispatchArgs& args, VARIANT& result) {
    args.ExpectCount(1, 1);
    RequireLanguage();
    const std::u16string text = args.String(0);
    Guarded([&] { ToVariant(engine_->Eval(text), result); });
}

void ScriptControl::Reset(const com::DispatchArgs& args, VARIANT&) {
    args.ExpectCount(0, 0);
    Guarded([&] { engine_->Reset(); });
}

void ScriptControl::AddObject(const com::DispatchArgs& args, VARIANT&) {
    args.ExpectCount(2, 3);
    const std::u16string name = args.String(0);
    com::ComPtr<IDispatch> object = args.Object(1);
    if (!object)
        throw com::DispatchError{DISP_E_TYPEMISMATCH, 1};
    const bool addMembers = args.Count() > 2 && !args.IsMissing(2) && args.Bool(2);
    Guarded([&] { engine_->AddObject(name, object.Get(), addMembers); });
}

// ConnectObject(object, prefix): the object's events reach the procedures
// named prefix + event name. An object without events is refused (error 5).
void ScriptControl::ConnectObject(const com::DispatchArgs& args, VARIANT&) {
    args.ExpectCount(2, 2);
    com::ComPtr<IDispatch> object = args.Object(0);
    if (!object)
        throw com::DispatchError{DISP_E_TYPEMISMATCH, 0};
    const std::u16string prefix = args.String(1);
    if (!engine_->Events().Connect(object.Get(), prefix))
        throw com::DispatchException(u"Cet objet ne déclare pas d'événements : impossible de le connecter",
                                     ScodeOf(kErrInvalidCall));
}

void ScriptControl::DisconnectObject(const com::DispatchArgs& args, VARIANT&) {
    args.ExpectCount(1, 1);
    com::ComPtr<IDispatch> object = args.Object(0);
    if (!object)
        throw com::DispatchError{DISP_E_TYPEMISMATCH, 0};
    if (!engine_->Events().Disconnect(object.Get()))
        throw com::DispatchException(u"Cet objet n'est pas connecté", ScodeOf(kErrInvalidCall));
}

} // namespace zorv::vbs
