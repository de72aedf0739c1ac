#include "app/constants.h"

namespace app {

const Constants kConstants = {
    .emptyText = "",
    .emptyByteSet = {1, 0},
    .one = 1.0,
    .hexPrefix = "0x",
    .zeroDigit = "0",
    .signatureOffset = "3ac220",
    .expectedSignature = "1701996868",
    .passCaption = "通过！",
    .failCaption = "未通过，可能不是导演剪辑版",
    .noFileCaption = "请加载tovrex.exe",
    .dialogFilter = "Quenmire导演剪辑版执行程序tovrex.exe|tovrex.exe",
    .resolution1600 = "1600 x 1200",
    .resolution1680 = "1680 x 1050",
    .resolution1920 = "1920 x 1080",
    .resolution1440 = "1440 x 900",
    .widthOffset = "4a1474",
    .heightOffset = "4a1478",
    .width1440 = "1440", .height900 = "900",
    .width1600 = "1600", .height1200 = "1200",
    .width1680 = "1680", .height1050 = "1050",
    .width1920 = "1920", .height1080 = "1080",
    .frameDimensionTime = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}",
    .loadDialogClass = "ZephlinLoadDialog",
    .threadProperty = "Zephlin_Thread",
    .imageProperty = "Zephlin_Image",
    .streamProperty = "Zephlin_Stream",
    .hitMoveProperty = "ZephlinHitMove",
    .temporarySuffix = ".tmp",
    .launcherMarker = "Nexar-QV",
    .launcherSignal = {1, 3, {0, 0, 0}},
};

}  // namespace app
