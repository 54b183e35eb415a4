// SPDX-License-Identifier: Apache-2.0
#include "res/AccessibleNames.h"

#include "res/resource.h"

// The four address parts sit under one caption, the four precisions under
// one heading, and the list of other applications has no text beside it: a
// listener hears what to type or choose in each.
const ResAccessibleName kResAccessibleNames[] = {
    {IDD_TRACKER_CONNECT, IDC_IP1, IDS_NAME_IP1},
    {IDD_TRACKER_CONNECT, IDC_IP2, IDS_NAME_IP2},
    {IDD_TRACKER_CONNECT, IDC_IP3, IDS_NAME_IP3},
    {IDD_TRACKER_CONNECT, IDC_IP4, IDS_NAME_IP4},
    {IDD_SELECT_UNITS, IDC_LENGTH_PRECISION, IDS_NAME_LENGTH_PRECISION},
    {IDD_SELECT_UNITS, IDC_ANGLE_PRECISION, IDS_NAME_ANGLE_PRECISION},
    {IDD_SELECT_UNITS, IDC_PRESSURE_PRECISION, IDS_NAME_PRESSURE_PRECISION},
    {IDD_SELECT_UNITS, IDC_TEMPERATURE_PRECISION, IDS_NAME_TEMPERATURE_PRECISION},
    {IDD_OTHER_APPS, IDC_APP_LIST, IDS_NAME_APP_LIST},
};
const std::size_t kResAccessibleNameCount =
    sizeof(kResAccessibleNames) / sizeof(kResAccessibleNames[0]);
