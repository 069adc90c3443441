#include "described_type.h"

#include <memory>
#include <new>

#include "bstr_value.h"
#include "com_object.h"

namespace zorv::com {
namespace {

class DescribedType final : public ComObject<ITypeInfo> {
public:
    DescribedType(std::u16string name, TYPEKIND kind, const GUID& guid,
                  std::vector<DescribedFunction> functions, ComPtr<ITypeInfo> source)
        : name_(std::move(name)), kind_(kind), guid_(guid), functions_(std::move(functions)),
          source_(std::move(source)) {}

    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** attr) override {
        if (attr == nullptr)
            return E_INVALIDARG;
        auto* made = new (std::nothrow) TYPEATTR{};
        if (made == nullptr)
            return E_OUTOFMEMORY;
        made->guid = guid_;
        made->memidConstructor = MEMBERID_NIL;
        made->memidDestructor = MEMBERID_NIL;
        made->typekind = kind_;
        made->cFuncs = static_cast<WORD>(functions_.size());
        made->cImplTypes = source_ ? 1 : 0;
        made->wMajorVerNum = 1;
        *attr = made;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** comp) override { return Refuse(comp); }
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC** desc) override {
        if (desc == nullptr)
            return E_INVALIDARG;
        *desc = nullptr;
        if (index >= functions_.size())
            return TYPE_E_ELEMENTNOTFOUND;
        const DescribedFunction& function = functions_[index];
        auto made = std::make_unique<FUNCDESC>();
        *made = FUNCDESC{};
        made->memid = function.id;
        made->funckind = FUNC_DISPATCH;
        made->invkind = INVOKE_FUNC;
        made->callconv = CC_STDCALL;
        made->cParams = static_cast<SHORT>(function.parameters.size());
        made->elemdescFunc.tdesc.vt = VT_EMPTY;
        if (!function.parameters.empty()) {
            made->lprgelemdescParam = new ELEMDESC[function.parameters.size()]{};
            for (std::size_t i = 0; i < function.parameters.size(); ++i) {
                made->lprgelemdescParam[i].tdesc.vt = VT_VARIANT;
                made->lprgelemdescParam[i].paramdesc.wParamFlags = PARAMFLAG_FIN;
            }
        }
        *desc = made.release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC** desc) override { return Refuse(desc); }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID id, BSTR* names, UINT most, UINT* count) override {
        if (names == nullptr || count == nullptr)
            return E_INVALIDARG;
        *count = 0;
        for (const DescribedFunction& function : functions_) {
            if (function.id != id)
                continue;
            if (most > 0)
                names[(*count)++] = Bstr(function.name).Detach();
            for (std::size_t i = 0; i < function.parameters.size() && *count < most; ++i)
                names[(*count)++] = Bstr(function.parameters[i]).Detach();
            return S_OK;
        }
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE* type) override {
        if (type == nullptr)
            return E_INVALIDARG;
        if (index != 0 || !source_)
            return TYPE_E_ELEMENTNOTFOUND;
        *type = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT* flags) override {
        if (flags == nullptr)
            return E_INVALIDARG;
        if (index != 0 || !source_)
            return TYPE_E_ELEMENTNOTFOUND;
        *flags = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(void*, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                               BSTR* helpFile) override {
        for (BSTR* out : {name, doc, helpFile})
            if (out != nullptr)
                *out = nullptr;
        if (context != nullptr)
            *context = 0;
        if (id == MEMBERID_NIL) {
            if (name != nullptr)
                *name = Bstr(name_).Detach();
            return S_OK;
        }
        for (const DescribedFunction& function : functions_) {
            if (function.id == id) {
                if (name != nullptr)
                    *name = Bstr(function.name).Detach();
                return S_OK;
            }
        }
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE type, ITypeInfo** info) override {
        if (info == nullptr)
            return E_INVALIDARG;
        *info = nullptr;
        if (type != 1 || !source_)
            return TYPE_E_ELEMENTNOTFOUND;
        *info = ComPtr<ITypeInfo>(source_).Detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, void** out) override {
        return Refuse(out);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override { return Refuse(out); }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR* mops) override { return Refuse(mops); }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** lib, UINT*) override { return Refuse(lib); }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* attr) override { delete attr; }
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC* desc) override {
        if (desc != nullptr)
            delete[] desc->lprgelemdescParam;
        delete desc;
    }
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

private:
    template <class T> static HRESULT Refuse(T** out) {
        if (out != nullptr)
            *out = nullptr;
        return E_NOTIMPL;
    }

    std::u16string name_;
    TYPEKIND kind_;
    GUID guid_;
    std::vector<DescribedFunction> functions_;
    ComPtr<ITypeInfo> source_;
};

// Reads a function's description through the ITypeInfo interface, as from
// any implementation of it.
std::optional<DescribedFunction> ReadFunction(ITypeInfo& info, UINT index) {
    FUNCDESC* desc = nullptr;
    if (FAILED(info.GetFuncDesc(index, &desc)) || desc == nullptr)
        return std::nullopt;
    DescribedFunction function{desc->memid, {}, {}};
    const UINT wanted = static_cast<UINT>(desc->cParams) + 1;
    info.ReleaseFuncDesc(desc);
    std::vector<BSTR> names(wanted, nullptr);
    UINT count = 0;
    if (FAILED(info.GetNames(function.id, names.data(), wanted, &count)) || count == 0)
        return std::nullopt;
    function.name = BstrView(names[0]);
    for (UINT i = 0; i < count; ++i) {
        if (i > 0)
            function.parameters.emplace_back(BstrView(names[i]));
        SysFreeString(names[i]);
    }
    return function;
}

ComPtr<ITypeInfo> DefaultSource(ITypeInfo& classInfo) {
    TYPEATTR* attr = nullptr;
    if (FAILED(classInfo.GetTypeAttr(&attr)) || attr == nullptr)
        return {};
    const WORD implemented = attr->cImplTypes;
    classInfo.ReleaseTypeAttr(attr);
    for (UINT i = 0; i < implemented; ++i) {
        INT flags = 0;
        HREFTYPE type = 0;
        ComPtr<ITypeInfo> source;
        if (SUCCEEDED(classInfo.GetImplTypeFlags(i, &flags)) &&
            (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) ==
                (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) &&
            SUCCEEDED(classInfo.GetRefTypeOfImplType(i, &type)) &&
            SUCCEEDED(classInfo.GetRefTypeInfo(type, source.ReleaseAndGetAddressOf())))
            return source;
    }
    return {};
}

} // namespace

ComPtr<ITypeInfo> MakeDispatchTypeInfo(std::u16string name, const IID& iid,
                                       std::vector<DescribedFunction> functions) {
    return ComPtr<ITypeInfo>(MakeObject<DescribedType>(std::move(name), TKIND_DISPATCH, iid,
                                                       std::move(functions), ComPtr<ITypeInfo>())
                                 .Get());
}

ComPtr<ITypeInfo> MakeClassTypeInfo(std::u16string name, const CLSID& clsid, ComPtr<ITypeInfo> events) {
    return ComPtr<ITypeInfo>(MakeObject<DescribedType>(std::move(name), TKIND_COCLASS, clsid,
                                                       std::vector<DescribedFunction>{}, std::move(events))
                                 .Get());
}

std::optional<EventInterface> DescribeEvents(IUnknown* object) {
    if (object == nullptr)
        return std::nullopt;
    ComPtr<IProvideClassInfo> provider = ComPtr<IUnknown>(object).As<IProvideClassInfo>();
    ComPtr<ITypeInfo> classInfo;
    if (!provider || FAILED(provider->GetClassInfo(classInfo.ReleaseAndGetAddressOf())) || !classInfo)
        return std::nullopt;
    ComPtr<ITypeInfo> source = DefaultSource(*classInfo);
    TYPEATTR* attr = nullptr;
    if (!source || FAILED(source->GetTypeAttr(&attr)) || attr == nullptr)
        return std::nullopt;
    EventInterface events{attr->guid, {}};
    const WORD count = attr->cFuncs;
    source->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count; ++i)
        if (auto function = ReadFunction(*source, i))
            events.events.push_back(std::move(*function));
    return events;
}

std::u16string TypeNameOf(IDispatch* object) {
    UINT count = 0;
    ComPtr<ITypeInfo> info;
    if (object == nullptr || FAILED(object->GetTypeInfoCount(&count)) || count == 0 ||
        FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.ReleaseAndGetAddressOf())) || !info)
        return {};
    Bstr name;
    if (FAILED(
            info->GetDocumentation(MEMBERID_NIL, name.ReleaseAndGetAddressOf(), nullptr, nullptr, nullptr)))
        return {};
    return name.Str();
}

} // namespace zorv::com
