#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Kelvora");
    // The application shell is not built yet: start and end cleanly.
    return 0;
}
