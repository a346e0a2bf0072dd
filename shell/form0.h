#pragma once
// The start-up splash: title, version and credits for one timer interval, then it closes
// itself and hands over to whatever comes next (the main window).

#include <QWidget>

#include <functional>

class QTimer;

namespace dz {

class Form0 : public QWidget {
    Q_OBJECT
public:
    static constexpr int IntervalleMs = 4000;

    // apresFermeture runs once, on the timer's tick, after the splash has closed and has been
    // handed to deleteLater(). The program always uses the full interval; tests pass less.
    explicit Form0(std::function<void()> apresFermeture, int intervalleMs = IntervalleMs);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Timer1_Timer();

    std::function<void()> apresFermeture_;
    QTimer* Timer1_;
};

} // namespace dz
