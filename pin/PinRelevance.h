#pragma once

// Whether a role's PIN is the one on the token (to log in with) or the one to be set.
enum class PinRelevance : int {
    Authorization = 0,
    New = 1,
};
