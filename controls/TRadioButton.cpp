// The clearable radio button. Qt refuses to clear the selected radio of an exclusive group, so the
// exclusiveness is lifted for the moment of clearing.
#include "TRadioButton.h"

#include "THandlerDispatch.h"

TRadioButton::TRadioButton(QWidget* parent) : QRadioButton(parent) {
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        // A click on the selected radio emits no toggle, so the handler runs once per selection.
        if (checked && !m_settingFromCode && OnClick)
            Dispatch(OnClick);
    });
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == isChecked())
        return;
    m_settingFromCode = true;
    const bool exclusive = autoExclusive();
    if (!checked)
        setAutoExclusive(false);
    setChecked(checked);
    setAutoExclusive(exclusive);
    m_settingFromCode = false;
}
