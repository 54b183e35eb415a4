// SPDX-License-Identifier: Apache-2.0
#include "units/CSelectUnitsDialog.h"

#include "framework/core/AfxStrings.h"
#include "settings/CSerialize.h"
#include "units/UnitCatalogue.h"
#include "units/UnitsArgument.h"

#include <cstdio>

namespace
{
std::string FormatInt(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}
} // namespace

BEGIN_MESSAGE_MAP(CSelectUnitsDialog, CDialog)
END_MESSAGE_MAP()

CSelectUnitsDialog::CSelectUnitsDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CSelectUnitsDialog::~CSelectUnitsDialog() = default;

std::string CSelectUnitsDialog::GetUnitsArgument() const
{
    return m_unitsArgument;
}

void CSelectUnitsDialog::RebuildUnitsArgument()
{
    m_unitsArgument = UnitsArgument::FromSettings(theSettings);
}

bool CSelectUnitsDialog::LookupLengthUnit(int unitIndex, std::string& abbreviation,
                                          std::string& factor)
{
    return UnitCatalogue::LookupLengthUnit(unitIndex, abbreviation, factor);
}

bool CSelectUnitsDialog::LookupAngleUnit(int unitIndex, std::string& abbreviation,
                                         std::string& factor)
{
    return UnitCatalogue::LookupAngleUnit(unitIndex, abbreviation, factor);
}

bool CSelectUnitsDialog::LookupPressureUnit(int unitIndex, std::string& abbreviation,
                                            std::string& factor)
{
    return UnitCatalogue::LookupPressureUnit(unitIndex, abbreviation, factor);
}

bool CSelectUnitsDialog::LookupTemperatureUnit(int unitIndex, std::string& abbreviation,
                                               std::string& factor, std::string& offset)
{
    return UnitCatalogue::LookupTemperatureUnit(unitIndex, abbreviation, factor, offset);
}

void CSelectUnitsDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LENGTH_UNIT, m_lengthUnits);
    DDX_Control(pDX, IDC_LENGTH_PRECISION, m_lengthPrecisionEdit);
    DDX_Control(pDX, IDC_LENGTH_SPIN, m_lengthSpin);
    DDX_Control(pDX, IDC_ANGLE_UNIT, m_angleUnits);
    DDX_Control(pDX, IDC_ANGLE_PRECISION, m_anglePrecisionEdit);
    DDX_Control(pDX, IDC_ANGLE_SPIN, m_angleSpin);
    DDX_Control(pDX, IDC_PRESSURE_UNIT, m_pressureUnits);
    DDX_Control(pDX, IDC_PRESSURE_PRECISION, m_pressurePrecisionEdit);
    DDX_Control(pDX, IDC_PRESSURE_SPIN, m_pressureSpin);
    DDX_Control(pDX, IDC_TEMPERATURE_UNIT, m_temperatureUnits);
    DDX_Control(pDX, IDC_TEMPERATURE_PRECISION, m_temperaturePrecisionEdit);
    DDX_Control(pDX, IDC_TEMPERATURE_SPIN, m_temperatureSpin);
    DDX_Control(pDX, IDOK, m_okButton);
    DDX_Control(pDX, IDCANCEL, m_cancelButton);
    DDX_Control(pDX, IDC_LENGTH_LABEL, m_lengthLabel);
    DDX_Control(pDX, IDC_ANGLE_LABEL, m_angleLabel);
    DDX_Control(pDX, IDC_PRESSURE_LABEL, m_pressureLabel);
    DDX_Control(pDX, IDC_TEMPERATURE_LABEL, m_temperatureLabel);
    DDX_Control(pDX, IDC_PRECISION_LABEL, m_precisionLabel);

    // The angle box is checked first: the operator hears about it first.
    DDX_Text(pDX, IDC_ANGLE_PRECISION, m_anglePrecision);
    DDV_MinMaxInt(pDX, m_anglePrecision, 1, 9);
    DDX_Text(pDX, IDC_LENGTH_PRECISION, m_lengthPrecision);
    DDV_MinMaxInt(pDX, m_lengthPrecision, 1, 9);
    DDX_Text(pDX, IDC_PRESSURE_PRECISION, m_pressurePrecision);
    DDV_MinMaxInt(pDX, m_pressurePrecision, 1, 3);
    DDX_Text(pDX, IDC_TEMPERATURE_PRECISION, m_temperaturePrecision);
    DDV_MinMaxInt(pDX, m_temperaturePrecision, 1, 3);
}

BOOL CSelectUnitsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetWindowText(AfxLoadString(IDS_SELECT_UNITS_TITLE));
    m_lengthLabel.SetWindowText(AfxLoadString(IDS_LENGTH));
    m_angleLabel.SetWindowText(AfxLoadString(IDS_ANGLE));
    m_pressureLabel.SetWindowText(AfxLoadString(IDS_PRESSURE));
    m_temperatureLabel.SetWindowText(AfxLoadString(IDS_TEMPERATURE));
    m_precisionLabel.SetWindowText(AfxLoadString(IDS_PRECISION));
    m_okButton.SetWindowText(AfxLoadString(IDS_OK));
    m_cancelButton.SetWindowText(AfxLoadString(IDS_CANCEL));

    FillUnitLists();

    m_lengthSpin.SetRange(1, 9);
    m_angleSpin.SetRange(1, 9);
    m_pressureSpin.SetRange(1, 3);
    m_temperatureSpin.SetRange(1, 3);

    // Every opening shows what the settings file holds now, never what a
    // cancelled opening left in the controls.
    CComboBox* units[] = {&m_lengthUnits, &m_angleUnits, &m_pressureUnits, &m_temperatureUnits};
    CEdit* precisions[] = {&m_lengthPrecisionEdit, &m_anglePrecisionEdit, &m_pressurePrecisionEdit,
                           &m_temperaturePrecisionEdit};
    int unit[4];
    int precision[4];
    if (theSettings.Load())
    {
        theSettings.GetLengthUnits(unit[0], precision[0]);
        theSettings.GetAngleUnits(unit[1], precision[1]);
        theSettings.GetPressureUnits(unit[2], precision[2]);
        theSettings.GetTemperatureUnits(unit[3], precision[3]);
    }
    else
    {
        // The dialog's own choices: meters, degrees, millimetersHg, celsius.
        const int defaultUnit[4] = {3, 2, 3, 0};
        const int defaultPrecision[4] = {6, 6, 2, 3};
        for (int q = 0; q < 4; ++q)
        {
            unit[q] = defaultUnit[q];
            precision[q] = defaultPrecision[q];
        }
    }
    for (int q = 0; q < 4; ++q)
    {
        units[q]->SetCurSel(unit[q]);
        precisions[q]->SetWindowText(FormatInt(precision[q]));
    }
    return TRUE;
}

void CSelectUnitsDialog::FillUnitLists()
{
    CComboBox* units[] = {&m_lengthUnits, &m_angleUnits, &m_pressureUnits, &m_temperatureUnits};
    for (int q = 0; q < UnitCatalogue::QuantityCount; ++q)
    {
        for (UINT id : UnitCatalogue::ListEntryIds(static_cast<UnitCatalogue::Quantity>(q)))
        {
            units[q]->AddString(AfxLoadString(id));
        }
    }
}

void CSelectUnitsDialog::OnOK()
{
    if (!UpdateData(TRUE))
    {
        return;
    }

    CComboBox* units[] = {&m_lengthUnits, &m_angleUnits, &m_pressureUnits, &m_temperatureUnits};
    CEdit* precisions[] = {&m_lengthPrecisionEdit, &m_anglePrecisionEdit, &m_pressurePrecisionEdit,
                           &m_temperaturePrecisionEdit};
    const int precisionValue[4] = {m_lengthPrecision, m_anglePrecision, m_pressurePrecision,
                                   m_temperaturePrecision};

    UnitsArgument::Choice choices[4];
    for (int q = 0; q < 4; ++q)
    {
        choices[q].unitIndex = units[q]->GetCurSel();
        // Sent as typed: 07 goes out as 07, while the store keeps 7.
        precisions[q]->GetWindowText(choices[q].precision);
    }
    m_unitsArgument = UnitsArgument::Build(choices);

    theSettings.SetLengthUnits(choices[0].unitIndex, precisionValue[0]);
    theSettings.SetAngleUnits(choices[1].unitIndex, precisionValue[1]);
    theSettings.SetPressureUnits(choices[2].unitIndex, precisionValue[2]);
    theSettings.SetTemperatureUnits(choices[3].unitIndex, precisionValue[3]);
    theSettings.Save();

    EndDialog(IDOK);
}
