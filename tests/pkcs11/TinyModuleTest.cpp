#include "pkcs11/Pkcs11.h"
#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/PkcsLoadingError.h"

#include <gtest/gtest.h>

extern "C" int tinyModuleInitializeCalls();
extern "C" void tinyModuleSetGetterResult(CK_RV rv);

namespace quorvik::pkcs11 {
namespace {

TEST(TinyModuleTest, MissingExtendedTableIsRejectedBeforeInitialisation)
{
    try {
        Pkcs11 module(nullptr);
        FAIL() << "a module without its extended table was bound";
    } catch (const FunctionRejectedException& error) {
        EXPECT_STREQ(error.what(), "PKCS11: CKR_FUNCTION_REJECTED");
    }
    EXPECT_EQ(tinyModuleInitializeCalls(), 0);
}

TEST(TinyModuleTest, FailingGetterRaisesItsReturnValue)
{
    tinyModuleSetGetterResult(CKR_HOST_MEMORY);
    EXPECT_THROW(Pkcs11 module(nullptr), HostMemoryException);
    tinyModuleSetGetterResult(CKR_OK);
    EXPECT_EQ(tinyModuleInitializeCalls(), 0);
}

TEST(TinyModuleTest, ImageThatCannotBeOpened)
{
    try {
        Pkcs11 module("/nonexistent/libqvpkcs11zrn.so");
        FAIL();
    } catch (const PkcsLoadingError& error) {
        EXPECT_STREQ(error.what(), "PKCS loading failed.");
    }
}

} // namespace
} // namespace quorvik::pkcs11
