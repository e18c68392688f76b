#include <QApplication>

int runWindowSystemTests(int argc, char** argv);
int runInstanceLockTests(int argc, char** argv);
int runOutOfMemoryTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    int failures = runWindowSystemTests(argc, argv);
    failures += runInstanceLockTests(argc, argv);
    failures += runOutOfMemoryTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
