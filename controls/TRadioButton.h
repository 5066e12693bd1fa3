// A radio button of an exclusive group (the radios sharing its parent) that code can also clear, so
// the group can be left with none selected. OnClick runs, through Dispatch, only when the user makes the
// radio selected; selecting the selected one, or changing it from code, runs nothing.
#pragma once

#include <QRadioButton>
#include <functional>

class TRadioButton : public QRadioButton {
    Q_OBJECT
public:
    explicit TRadioButton(QWidget* parent = nullptr);

    bool Checked() const { return isChecked(); }
    // Runs no handler. Clearing is allowed even for the group's selected radio.
    void SetChecked(bool checked);
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }

    std::function<void()> OnClick;

private:
    bool m_settingFromCode = false;
};
