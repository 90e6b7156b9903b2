// The floor of a command-line Qt program on this machine: a QCoreApplication
// that is created and ends at once.

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    return 0;
}
