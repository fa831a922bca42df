// ObjectFromLresult through the address the program gets from OLEACC.DLL
// (run under Wine): an object of our own goes out with LresultFromObject
// and comes back as one reference of the interface asked for, or not at all.
#ifdef _WIN32

#include "win32/Win32HtmlDocuments.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ole2.h>
#include <oleacc.h>

#include "win32/Win32ComRuntime.h"
#include "win32/Win32Modules.h"

namespace nimbrel {
namespace {

// A COM object with IUnknown alone; refuses IMarshal, so standard
// marshalling carries it.
class Plain : public IUnknown {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualIID(iid, IID_IUnknown) ? static_cast<IUnknown*>(this) : nullptr;
        if (*out == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;
};

// IID_IUnknown, {00000000-0000-0000-C000-000000000046}.
constexpr Guid kIidIUnknown{0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

TEST(Win32HtmlDocuments, ObjectFromLresultGivesOneReferenceOrNothing) {
    Win32HtmlDocuments documents;
    Win32ComRuntime com{documents};
    Win32Modules modules;
    const HResult initialised = com.CoInitialize();
    ASSERT_TRUE(initialised == hr::kOk || initialised == hr::kFalse);

    const ModuleHandle oleacc = modules.LoadLibraryA("OLEACC.DLL");
    ASSERT_NE(oleacc, kNoModule);
    const ProcAddress objectFromLresult = modules.GetProcAddress(oleacc, "ObjectFromLresult");
    ASSERT_NE(objectFromLresult, kNoProc);
    EXPECT_EQ(modules.GetProcAddress(oleacc, "NoSuchFunction"), kNoProc);
    const auto lresultFromObject = reinterpret_cast<LPFNLRESULTFROMOBJECT>(
        static_cast<std::uintptr_t>(modules.GetProcAddress(oleacc, "LresultFromObject")));
    ASSERT_NE(lresultFromObject, nullptr);

    Plain object;
    {
        const LRESULT answer = lresultFromObject(IID_IUnknown, 0, &object);
        ASSERT_GT(answer, 0);
        HtmlDocument document = kNoDocument;
        EXPECT_EQ(documents.ObjectFromLresult(objectFromLresult, answer, kIidIUnknown, 0, document),
                  hr::kOk);
        ASSERT_NE(document, kNoDocument);
        documents.ReleaseDocument(document);
    }
    {
        const LRESULT answer = lresultFromObject(IID_IUnknown, 0, &object);
        ASSERT_GT(answer, 0);
        const HtmlDocument untouched{0x1234};
        HtmlDocument document = untouched;
        EXPECT_LT(
            documents.ObjectFromLresult(objectFromLresult, answer, kIidIHtmlDocument2, 0, document),
            0);
        EXPECT_EQ(document, untouched);
    }
    ::CoDisconnectObject(&object, 0);
    EXPECT_EQ(object.references, 1u);

    EXPECT_TRUE(modules.FreeLibrary(oleacc));
    com.CoUninitialize();
}

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
