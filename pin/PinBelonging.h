#pragma once

// Whose PIN a role asks for.
enum class PinBelonging : int {
    Admin = 0,
    User = 1,
    LocalUser = 2,
    VolumeOwner = 3,
    // The user or the admin, as another option of the command decides.
    SelectedUser = 4,
};
