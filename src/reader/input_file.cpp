#include "reader/input_file.h"

namespace krinu {

void ConfigureInputReader(TqdxCSVFileReader& reader, const TInputSettings& settings) {
  constexpr int kByteBuffer = 1024;
  if (settings.InputHasBOM)
    reader.SetFile(settings.InputFileName, TTextEncoding::Default(), true, kByteBuffer);
  else if (settings.InputCodePage == kCodePageUtf8)
    reader.SetFile(settings.InputFileName, TTextEncoding::UTF8(), false, kByteBuffer);
  else if (settings.InputCodePage == kCodePageUtf16LE)
    reader.SetFile(settings.InputFileName, TTextEncoding::UTF16LE(), true, kByteBuffer);
  else
    reader.SetFile(settings.InputFileName, TTextEncoding::Default(), true, kByteBuffer);
}

void ConfigureInputReaderFully(TqdxCSVFileReader& reader, const TInputSettings& settings) {
  ConfigureInputReader(reader, settings);
  reader.SetHeaderPresent(settings.HeaderPresent);
  reader.SetFieldSeparatorCharCode(settings.InputSeparatorChar.unicode());
  reader.SetIgnoreEmptyLines(true);
  reader.SetIgnoreSpecialCharacters(true);
}

}  // namespace krinu
