// The keys of section Editor that the main window writes at every exit, as the settings list them.
#pragma once

namespace tessary::testing {

inline constexpr const char* kEditorKeysWrittenAtExit[] = {"RowVisible",
                                                           "ColVisible",
                                                           "UnderLineVisible",
                                                           "ReadAuto",
                                                           "ReadSJIS",
                                                           "ReadUTF8Bom",
                                                           "ReadUTF8",
                                                           "ReadUTF16BomBe",
                                                           "ReadUTF16Be",
                                                           "ReadUTF16BomLe",
                                                           "ReadUTF16Le",
                                                           "CrLf",
                                                           "EOF",
                                                           "Tab",
                                                           "DBCS",
                                                           "CloseESCkey",
                                                           "CloseENTERkey",
                                                           "CloseQkey",
                                                           "CloseXkey",
                                                           "WrapNone",
                                                           "WrapLength",
                                                           "WrapWindowWidth",
                                                           "CaretMoveNext",
                                                           "CaretMoveFree",
                                                           "CaretAutoIndent",
                                                           "Tab2",
                                                           "Tab4",
                                                           "Tab6",
                                                           "Tab8",
                                                           "CrlfNotInclude",
                                                           "SelectLengthChar"};

}  // namespace tessary::testing
