// Process entry: the application, its look, the main window and its
// start-up steps, then the message loop.
#include "Unit1.h"
#include "application.h"

#include "fonts.h"
#include "theme.h"

#include <clocale>

int main(int argc, char **argv)
{
    // The embedded browser needs this before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TApplication app(argc, argv);
    // Qt sets the C locale from the environment; number parsing must not follow it.
    std::setlocale(LC_NUMERIC, "C");
    qv::installFontSubstitutes();
    qv::applyStyle(app);

    TForm1 form;
    form.FormCreate();
    form.showMaximized();
    return app.exec();
}
