#pragma once

#include <qvflash-core/errors/Exception.h>

#include <gtest/gtest.h>

// The library exception that f throws; a test failure when it throws none.
template <typename F>
qvfl::Exception thrownException(F&& f)
{
    try {
        f();
    } catch (const qvfl::Exception& e) {
        return e;
    }
    ADD_FAILURE() << "no exception thrown";
    return qvfl::Exception(QVFLASH_ST_OK);
}
