#pragma once

class QProgressBar;

// The progress bar `bar_load`: hidden except while an exchange runs.
class LoadProgress {
public:
    static constexpr int kFull = 100;

    explicit LoadProgress(QProgressBar* bar);

    // Position 0, shown.
    void start();
    // Full and shown, for an exchange too short to count in steps.
    void showFull();
    // Moves on by `step`, never past full.
    void StepProgress(int step);
    void hide();

private:
    void setValue(int value);

    QProgressBar* m_bar;
};
