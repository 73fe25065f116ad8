// The dictionaryeditor library is made of the editor's three parts (window, details panel, choice
// dialogs), linked in as object libraries. This file gives the library a source of its own.
extern const char lexoraEditorLibraryName[] = "dictionaryeditor";
