#pragma once

#include <exception>
#include <string>
#include <utility>

// The shape every error family shares. A family's root carries the message and gives it out
// through what(); each class of the family only says, in one line, which root it has, what its
// constructor takes and the message made of that.

// QV_ERROR_ROOT(Root): a family's root, constructible only by its classes.
#define QV_ERROR_ROOT(Root)                                                                                            \
    class Root : public std::exception {                                                                               \
    public:                                                                                                            \
        const char* what() const noexcept override { return message_.c_str(); }                                        \
                                                                                                                       \
    protected:                                                                                                         \
        explicit Root(std::string message) : message_(std::move(message)) {}                                           \
                                                                                                                       \
    private:                                                                                                           \
        std::string message_;                                                                                          \
    }

// QV_ERROR(Class, Root, (parameters...), message): a class of the family of Root.
#define QV_ERROR(Class, Root, Parameters, message)                                                                     \
    class Class : public Root {                                                                                        \
    public:                                                                                                            \
        explicit Class Parameters : Root(message) {}                                                                   \
    }
