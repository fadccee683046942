#pragma once

#include <QApplication>
#include <QTranslator>
#include <memory>

// The program's application object. A failure that escapes the handling of any event goes to
// the application-wide reporter (the failure message box) and the program carries on.
class VornaleApplication : public QApplication
{
    Q_OBJECT

public:
    VornaleApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::unique_ptr<QTranslator> m_qtTranslations;
};
