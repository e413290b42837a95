#include "VirtualTokens.h"

#include "pkcs11/AttributeKinds.h"
#include "pkcs11/Pkcs11.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Token.h"

#include <qvtoken-core/TokenPresets.h>

#include <atomic>
#include <thread>

namespace quorvik::pkcs11 {
namespace {

using ParallelTokensTest = VirtualTokens;

// The parallel strategy works on each token from a thread of its own, with its own sessions and
// logins; the module, initialised for several threads, must keep them apart.
TEST_F(ParallelTokensTest, TwoTokensFromTwoThreads)
{
    addToken("full", 11, 1);
    addToken("full", 22, 2);
    const Pkcs11 module(nullptr);
    const auto slots = module.getSlotList(true);
    ASSERT_EQ(slots.size(), 2u);
    for (const auto& slot : slots)
        slot->token()->serialNumber();

    std::atomic<int> failures{0};
    const auto work = [&failures](const std::shared_ptr<Token>& token) {
        try {
            for (int round = 0; round < 25; ++round) {
                const auto session = token->openSession(CKF_RW_SESSION);
                session.login(qvtoken::defaultAdminPin, UserType::So);
                Template criteria;
                criteria.emplaceAttributes(AttributeOf<AttributeType::Class>(ObjectClass::HwFeature),
                                           AttributeOf<AttributeType::HwFeatureType>(HwFeatureType::TouchInterface));
                auto found = session.findObjects(criteria);
                if (found.size() != 1) {
                    ++failures;
                    continue;
                }
                Template settings;
                settings.emplaceAttributes(
                    AttributeOf<AttributeType::VendorTouchActionTimeout>(static_cast<unsigned long>(round)));
                found[0].setAttributeValue(std::move(settings));
                const auto values = found[0].getAttributeValue({AttributeType::VendorTouchActionTimeout});
                if (dynamic_cast<const AttributeOf<AttributeType::VendorTouchActionTimeout>&>(
                        *values.attribute(AttributeType::VendorTouchActionTimeout))
                        .value() != static_cast<unsigned long>(round))
                    ++failures;
                if (token->getTokenInfoEx().soRetriesLeft != 10)
                    ++failures;
            }
        } catch (const std::exception& error) {
            ADD_FAILURE() << error.what();
            ++failures;
        }
    };
    std::thread first(work, slots[0]->token());
    std::thread second(work, slots[1]->token());
    first.join();
    second.join();
    EXPECT_EQ(failures.load(), 0);
}

} // namespace
} // namespace quorvik::pkcs11
