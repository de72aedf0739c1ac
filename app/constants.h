#pragma once
// The application's literals. They live in one object whose bounds are the constant region, so
// a literal can be handed to anything that later frees it. Texts are GBK, as every literal of
// the build is.

#include <cstdint>

namespace app {

// A byte set literal: the header {1, n}, then n bytes.
template <uint32_t N>
struct ByteSetLiteral {
  uint32_t dimensions;
  uint32_t length;
  uint8_t bytes[N];
};

struct Constants {
  char emptyText[1];
  uint32_t emptyByteSet[2];  // the header {1, 0}
  double one;

  // Conversions.
  char hexPrefix[sizeof "0x"];
  char zeroDigit[sizeof "0"];

  // The executable check.
  char signatureOffset[sizeof "3ac220"];
  char expectedSignature[sizeof "1701996868"];
  char passCaption[sizeof "通过！"];
  char failCaption[sizeof "未通过，可能不是导演剪辑版"];
  char noFileCaption[sizeof "请加载tovrex.exe"];

  // The main window.
  char dialogFilter[sizeof "Quenmire导演剪辑版执行程序tovrex.exe|tovrex.exe"];
  char resolution1600[sizeof "1600 x 1200"];
  char resolution1680[sizeof "1680 x 1050"];
  char resolution1920[sizeof "1920 x 1080"];
  char resolution1440[sizeof "1440 x 900"];

  // The resolution table's fields.
  char widthOffset[sizeof "4a1474"];
  char heightOffset[sizeof "4a1478"];
  char width1440[sizeof "1440"], height900[sizeof "900"];
  char width1600[sizeof "1600"], height1200[sizeof "1200"];
  char width1680[sizeof "1680"], height1050[sizeof "1050"];
  char width1920[sizeof "1920"], height1080[sizeof "1080"];

  // The loading-dialog module.
  char frameDimensionTime[sizeof "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}"];
  char loadDialogClass[sizeof "ZephlinLoadDialog"];
  char threadProperty[sizeof "Zephlin_Thread"];
  char imageProperty[sizeof "Zephlin_Image"];
  char streamProperty[sizeof "Zephlin_Stream"];
  char hitMoveProperty[sizeof "ZephlinHitMove"];

  // The launcher handshake.
  char temporarySuffix[sizeof ".tmp"];
  char launcherMarker[sizeof "Nexar-QV"];
  ByteSetLiteral<3> launcherSignal;  // three zero bytes
};

extern const Constants kConstants;

}  // namespace app
