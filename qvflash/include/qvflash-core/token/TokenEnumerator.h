#pragma once

#include <qvflash-core/pcsc/Scard.h>
#include <qvflash-core/pcsc/ScardEnumerator.h>
#include <qvflash-core/token/Token.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace qvfl {

// The supported tokens, known by serial number. Keeps nothing between calls:
// every operation looks at the readers again.
class TokenEnumerator {
public:
    explicit TokenEnumerator(std::shared_ptr<ScardEnumerator> enumerator);

    // Status 100024 when the card answers with other than 8 bytes.
    static std::uint64_t getTokenSerial(const std::shared_ptr<Scard>& card);

    // One card per serial; of two cards with one serial, the later in reader
    // order. A card that cannot tell its serial fails the whole listing.
    std::map<std::uint64_t, std::shared_ptr<Scard>> enumTokens() const;
    // Ascending.
    std::vector<std::uint64_t> getTokenList() const;
    // The card with the serial among the cards that tell theirs; of two, the
    // later in reader order. A card that cannot tell its serial is passed over;
    // when no card has the serial, the first such failure is thrown, or status
    // 100022 when every card told its serial.
    std::unique_ptr<Token> createToken(std::uint64_t serial) const;

private:
    std::shared_ptr<ScardEnumerator> enumerator;
};

} // namespace qvfl
