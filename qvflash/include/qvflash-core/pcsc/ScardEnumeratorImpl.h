#pragma once

#include <qvflash-core/pcsc/ScardEnumerator.h>
#include <qvflash-core/pcsc/ScardImpl.h>

namespace qvfl {

// Lists the PC/SC readers, connects to the card in each and keeps the cards
// whose ATR historical bytes name the product family.
class ScardEnumeratorImpl : public ScardEnumerator {
public:
    std::vector<std::shared_ptr<Scard>> enumScards() override;
};

// The reader names of a PC/SC multi-string: runs of non-NUL bytes, empty
// names skipped, in buffer order.
std::vector<PcscString> splitReaderNames(const std::vector<char>& multiString);

std::vector<PcscString> listReaders(SCARDCONTEXT context);

bool isReaderEmpty(const PcscString& readerName, const SCARDCONTEXT context);

} // namespace qvfl
