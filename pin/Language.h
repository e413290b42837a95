#pragma once

// The languages every help and PIN text is kept in; the values index the text tables.
enum class Language : int {
    Russian = 0,
    English = 1,
};
