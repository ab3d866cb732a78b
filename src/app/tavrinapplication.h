#pragma once

#include <QApplication>

// The application object. An exception that escapes any handler, timer or event ends only the
// action in progress: it is reported in one line on the error output and otherwise ignored.
class TavrinApplication final : public QApplication {
public:
    TavrinApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
