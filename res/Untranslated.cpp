// SPDX-License-Identifier: Apache-2.0
#include "res/Untranslated.h"

#include "res/resource.h"

// The abbreviations go to the tracker in the units argument, whatever the
// operator reads; the time units are kept in the table and shown nowhere.
const unsigned kResUntranslatedStrings[] = {
    5034, 5035, 5036, 5037, 5038, 5039, 5045, 5062, 5063, 5064, 5065, 5066, 5067, 5068, 5069, 5070,
    5071, 5072, 5073, 5074, 5075, 5076, 5077, 5078, 5079, 5080, 5081, 5082, 5083, 5084, 5085, 5086,
};
const std::size_t kResUntranslatedStringCount =
    sizeof(kResUntranslatedStrings) / sizeof(kResUntranslatedStrings[0]);

// The tracker types are product names. The About box's version line is
// replaced whenever the box opens, and names the version.
const ResUntranslatedItem kResUntranslatedItems[] = {
    {IDD_TRACKER_CONNECT, IDC_TYPE_CORVO},
    {IDD_TRACKER_CONNECT, IDC_TYPE_KELM},
    {IDD_ABOUTBOX, IDC_VERSION_LINE},
};
const std::size_t kResUntranslatedItemCount =
    sizeof(kResUntranslatedItems) / sizeof(kResUntranslatedItems[0]);
