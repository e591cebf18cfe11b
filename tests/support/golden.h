#pragma once
// Reference files for outputs that are compared byte for byte (the declaration XML, the
// run log). They live in tests/data/; with KRINU_UPDATE_GOLDEN=1 in the environment a test
// writes what it produced over the reference instead of comparing, so that a deliberate
// change is one run plus a reviewed diff.

#include <QByteArray>
#include <QString>

namespace krinu::test {

// The full path of a file in tests/data/.
QString TestDataPath(const QString& name);

// True when the references are being written (KRINU_UPDATE_GOLDEN=1) rather than compared.
bool UpdatingGolden();

// Compares actual with tests/data/name (or, when updating, writes it there). Returns an
// empty string when they match, else a description of the first difference.
QString CompareWithGolden(const QString& name, const QByteArray& actual);

}  // namespace krinu::test

// Fails the test (non-fatally) when actual differs from the reference file.
#define EXPECT_MATCHES_GOLDEN(name, actual)                                             \
  do {                                                                                  \
    const QString krinuGoldenDiff = ::krinu::test::CompareWithGolden((name), (actual)); \
    EXPECT_TRUE(krinuGoldenDiff.isEmpty()) << krinuGoldenDiff.toStdString();            \
  } while (0)
