#include "assay/VeltraFile4.h"

const char16_t* LoadErrorText(int code) {
    switch (code) {
    case -1:
        return u"файл не открывается";
    case -2:
        return u"заголовок файла не читается";
    case -3:
        return u"это не файл хроматограммы";
    case -4:
        return u"версия формата новее, чем известно программе";
    case -5:
        return u"заголовок блока канала не читается";
    case -6:
        return u"число отсчётов канала больше допустимого или файл короче, чем объявлено в нём";
    case -7:
        return u"XML-часть файла не читается или повреждена";
    default:
        return u"ошибка чтения";
    }
}
