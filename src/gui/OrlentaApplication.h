#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace orlenta {

// The application object: it sets the program's name and hands every exception that escapes
// an event handler to one error handler instead of letting it tear through the event loop.
class TOrlentaApplication : public QApplication {
    Q_OBJECT
public:
    TOrlentaApplication(int& argc, char** argv);

    using TErrorHandler = std::function<void(std::exception_ptr)>;
    void SetErrorHandler(TErrorHandler handler) { FErrorHandler = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    TErrorHandler FErrorHandler;
};

} // namespace orlenta
