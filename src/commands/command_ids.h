// Names for the ids of the menu commands, so that code says MenuOpen where the key map says 1002.
#pragma once

#include <cstdint>

namespace tessary {

// Every command of the main menu and of the viewers' menus, by the name its menu item carries
// and the id the key map file stores. The editor control's keys (9001 ..) have no name: they
// are listed in the command table for display and conflict checks only. The command table
// checks at compile time that its named rows are exactly these, in the same order.
// clang-format off
#define TESSARY_COMMAND_IDS(X)        \
  X(MenuNewFile, 1001)                \
  X(MenuOpen, 1002)                   \
  X(MenuSave, 1003)                   \
  X(MenuSaveAs, 1004)                 \
  X(MenuOpenSaveDialogXpStyle, 1005)  \
  X(MenuReadAuto, 1006)               \
  X(MenuReadSJIS, 1007)               \
  X(MenuReadUTF8Bom, 1008)            \
  X(MenuReadUTF8, 1009)               \
  X(MenuReadUTF16BomBe, 1010)         \
  X(MenuReadUTF16Be, 1011)            \
  X(MenuReadUTF16BomLe, 1012)         \
  X(MenuReadUTF16Le, 1013)            \
  X(MenuSaveClose, 1020)              \
  X(MenuClose, 1021)                  \
  X(MenuJump, 1101)                   \
  X(MenuReadOnly, 1102)               \
  X(MenuPopUpShow, 1103)              \
  X(MenuCopyOneLine, 1104)            \
  X(MenuSelectWord, 1105)             \
  X(MenuCaretMoveNext, 1106)          \
  X(MenuCaretMoveFree, 1107)          \
  X(MenuCaretAutoIndent, 1108)        \
  X(MenuMoveDocumentTop, 1109)        \
  X(MenuMoveDocumentEnd, 1110)        \
  X(MenuMoveLineTop, 1111)            \
  X(MenuMoveLineEnd, 1112)            \
  X(MenuReplaceTab, 1113)             \
  X(MenuUpperCase, 1114)              \
  X(MenuLowerCase, 1115)              \
  X(MenuZenToHan, 1116)               \
  X(MenuHanToZen, 1117)               \
  X(MenuShowSnippet, 1118)            \
  X(MenuShowSnippetFile, 1119)        \
  X(MenuOstrBoardSeikei, 1120)        \
  X(MenuSearchWord, 1201)             \
  X(MenuSearchNext, 1202)             \
  X(MenuSearchPrev, 1203)             \
  X(MenuSearchWordOneLine, 1204)      \
  X(MenuReplaceWord, 1205)            \
  X(MenuWrapNone, 1301)               \
  X(MenuWrapLength, 1302)             \
  X(MenuWrapWindowWidth, 1303)        \
  X(MenuSetMojiLength, 1304)          \
  X(MenuFontColor, 1305)              \
  X(MenuBackColor, 1306)              \
  X(MenuSelectColor, 1307)            \
  X(MenuSelectBackColor, 1308)        \
  X(MenuKigouColor, 1309)             \
  X(MenuUnderLineColor, 1310)         \
  X(MenuFontColorReadOnly, 1311)      \
  X(MenuBackColorReadOnly, 1312)      \
  X(MenuRow, 1313)                    \
  X(MenuColumn, 1314)                 \
  X(MenuShowUnderLine, 1315)          \
  X(MenuCrLf, 1316)                   \
  X(MenuEof, 1317)                    \
  X(MenuTab, 1318)                    \
  X(MenuDBCS, 1319)                   \
  X(MenuTab2, 1320)                   \
  X(MenuTab4, 1321)                   \
  X(MenuTab6, 1322)                   \
  X(MenuTab8, 1323)                   \
  X(MenuCrLfNotInclude, 1324)         \
  X(MenuCrlfInclude, 1325)            \
  X(MenuSelectLengthChar, 1326)       \
  X(MenuSelctLengthByte, 1327)        \
  X(MenuStatusBarTopVisible, 1328)    \
  X(MenuStatusBarBottomVisible, 1329) \
  X(MenuKeyBoard, 1401)               \
  X(MenuCloseESCkey, 1402)            \
  X(MenuCloseENTERkey, 1403)          \
  X(MenuCloseQkey, 1404)              \
  X(MenuCloseXkey, 1405)              \
  X(MenuFavoriteAuto1, 1407)          \
  X(MenuFavoriteAuto2, 1408)          \
  X(MenuFavoriteAuto3, 1409)          \
  X(MenuFavoriteSetting, 1410)        \
  X(MenuLauncherAuto1, 1411)          \
  X(MenuLauncherAuto2, 1412)          \
  X(MenuLauncherAuto3, 1413)          \
  X(MenuLauncherSetting, 1414)        \
  X(MenuEditorSetFocus, 1501)         \
  X(MenuNewEditor, 1502)              \
  X(MenuFilerSetFocus, 1503)          \
  X(MenuReserveColor, 1601)           \
  X(MenuReserveRead, 1602)            \
  X(MenuReseveIniSet, 1603)           \
  X(MenuReseveReserveSet, 1604)       \
  X(MenuReseveNoSet, 1605)            \
  X(MenuShowCsvList, 1701)            \
  X(MenuShowBinary, 1702)             \
  X(MenuShowOutLine, 1703)            \
  X(MenuFileOpen, 1704)               \
  X(MenuShowNoteCsv, 1705)            \
  X(MenuShowBinaryExe, 1706)          \
  X(MenuShowCsvExe, 1707)             \
  X(MenuOstrBoard, 1708)              \
  X(MenuOstrHistory, 1709)            \
  X(MenuPilkaKeyBoarsMap, 1710)       \
  X(MenuCsvListLoadAll, 1711)         \
  X(MenuCsvListFitColumnWidth, 1712)  \
  X(MenuAddHeader, 1713)              \
  X(MenuMoveStartPosition, 1714)      \
  X(MenuCsvListTop, 1715)             \
  X(MenuCsvListPrev, 1716)            \
  X(MenuCsvListNext, 1717)            \
  X(MenuCsvListEnd, 1718)             \
  X(MenuCsvListFontColor, 1719)       \
  X(MenuCsvListBackColor, 1720)       \
  X(MenuCsvListRetMarkRet, 1721)      \
  X(MenuCsvListRetMarkLf, 1722)       \
  X(MenuCsvListRetMarkNone, 1723)     \
  X(MenuBinaryTop, 1731)              \
  X(MenuBinaryPrev, 1732)             \
  X(MenuBinaryNext, 1733)             \
  X(MenuBinaryEnd, 1734)              \
  X(MenuBinaryShowTab, 1735)          \
  X(MenuBinaryShowCr, 1736)           \
  X(MenuBinaryShowLf, 1737)           \
  X(MenuBinaryFontColor, 1738)        \
  X(MenuBinaryBackColor, 1739)        \
  X(MenuBinaryKigouColor, 1740)       \
  X(MenuBinaryUnderLineColor, 1741)   \
  X(MenuBinaryShowUnderLine, 1742)    \
  X(MenuShowHelp, 1801)               \
  X(MenuKeyMap, 1802)                 \
  X(MenuVersion, 1803)
// clang-format on

enum class CommandId : uint16_t {
#define TESSARY_COMMAND_ENUMERATOR(name, number) name = number,
  TESSARY_COMMAND_IDS(TESSARY_COMMAND_ENUMERATOR)
#undef TESSARY_COMMAND_ENUMERATOR
};

// The id as the command table and the key map hold it.
[[nodiscard]] constexpr int IdNumber(CommandId id) {
  return static_cast<int>(id);
}

}  // namespace tessary
