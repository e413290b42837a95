#pragma once

#include <memory>
#include <vector>

namespace quorvik::pkcs11 {

class Slot;

// The program's one handle on the PKCS#11 module: binds its two function tables, initialises it
// for calls from several threads and lists its slots once; finalises and unbinds when destroyed.
class Pkcs11 {
public:
    // A null path binds the program's own image, in which the module is linked.
    explicit Pkcs11(const char* libraryPath);
    ~Pkcs11();
    // The module is initialised once per object.
    Pkcs11(const Pkcs11&) = delete;
    Pkcs11& operator=(const Pkcs11&) = delete;

    // The slots found at construction; with `tokenPresent`, only those that held a token.
    std::vector<std::shared_ptr<Slot>> getSlotList(bool tokenPresent) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quorvik::pkcs11
