// SPDX-License-Identifier: Apache-2.0
// The dialog in which the operator chooses, for length, angle, pressure and
// temperature, the unit the tracker's applications work in and a precision.
// The main window keeps one object for its whole life; OK stores the choices,
// saves the settings file and rebuilds the units argument.
#ifndef KELM_UNITS_CSELECTUNITSDIALOG_H
#define KELM_UNITS_CSELECTUNITSDIALOG_H

#include "framework/dialogs/AfxWin.h"
#include "res/resource.h"

#include <string>

class CSelectUnitsDialog : public CDialog
{
public:
    enum
    {
        IDD = IDD_SELECT_UNITS
    };

    explicit CSelectUnitsDialog(CWnd* pParent = nullptr);
    ~CSelectUnitsDialog() override;

    // The units argument last built: by RebuildUnitsArgument or by OK.
    std::string GetUnitsArgument() const;
    // Builds the units argument from the settings file, or sets the built-in
    // default when it cannot be read.
    void RebuildUnitsArgument();

    static bool LookupLengthUnit(int unitIndex, std::string& abbreviation, std::string& factor);
    static bool LookupAngleUnit(int unitIndex, std::string& abbreviation, std::string& factor);
    static bool LookupPressureUnit(int unitIndex, std::string& abbreviation, std::string& factor);
    static bool LookupTemperatureUnit(int unitIndex, std::string& abbreviation, std::string& factor,
                                      std::string& offset);

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void FillUnitLists();

private:
    CComboBox m_lengthUnits;
    CEdit m_lengthPrecisionEdit;
    CSpinButtonCtrl m_lengthSpin;
    CComboBox m_angleUnits;
    CEdit m_anglePrecisionEdit;
    CSpinButtonCtrl m_angleSpin;
    CComboBox m_pressureUnits;
    CEdit m_pressurePrecisionEdit;
    CSpinButtonCtrl m_pressureSpin;
    CComboBox m_temperatureUnits;
    CEdit m_temperaturePrecisionEdit;
    CSpinButtonCtrl m_temperatureSpin;
    CButton m_okButton;
    CButton m_cancelButton;
    CStatic m_lengthLabel;
    CStatic m_angleLabel;
    CStatic m_pressureLabel;
    CStatic m_temperatureLabel;
    CStatic m_precisionLabel;

    // Bound to the precision boxes for validation only.
    int m_lengthPrecision = 0;
    int m_anglePrecision = 0;
    int m_pressurePrecision = 0;
    int m_temperaturePrecision = 0;

    std::string m_unitsArgument;
};

#endif
