// Every test executable starts one QApplication (offscreen in the tests) before running.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    // Saved workbooks carry their creation and save times from SOURCE_DATE_EPOCH when it is
    // set, so that the files the tests write (and the companion they start) are the same on
    // every run.
    if (qgetenv("SOURCE_DATE_EPOCH").isEmpty()) qputenv("SOURCE_DATE_EPOCH", "1700000000");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
