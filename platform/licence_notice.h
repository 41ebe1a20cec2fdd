// The copyright and licence lines both programs print after their version (--version).
#pragma once

namespace kv {

inline constexpr const char kLicenceNotice[] =
    "Copyright (C) 2026 the Kestavor project\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

}  // namespace kv
