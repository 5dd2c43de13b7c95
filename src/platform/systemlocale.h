#pragma once

namespace kaldora::platform {

// The decimal separator of the user's locale: on Windows the decimal symbol
// of the regional settings; elsewhere as LC_ALL, LC_NUMERIC and LANG give it
// (in that order), also where the C library lacks that locale. Anything but
// a comma counts as a period.
char systemDecimalSeparator();

} // namespace kaldora::platform
