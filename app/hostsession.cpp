#include "hostsession.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <vector>

#include "hostmessage.h"
#include "hostwindowmanager.h"

HostSession::HostSession() : m_windows(std::make_unique<HostWindowManager>()) {}

HostSession::~HostSession() = default;

bool HostSession::refuse(const QString &text)
{
    HostMessage::error(text);
    return false;
}

bool HostSession::open(const Options &options)
{
    QStringList paths = options.paths;
    QString error;
    if (paths.isEmpty()) {
        const QString personal = DictionaryOpener::personalDictionary(&error);
        if (personal.isEmpty())
            return refuse(error);
        paths << personal;
    }

    DictionaryReference target;
    if (!options.transferTo.isEmpty()) {
        target = m_opener.open(options.transferTo, true, &error);
        if (target == 0)
            return refuse(error);
        if (target->isReadOnly()) {
            return refuse(QCoreApplication::translate("HostSession", "The dictionary \"%1\" is read-only, so no word "
                                                                     "can be transferred into it.")
                              .arg(QDir::toNativeSeparators(options.transferTo)));
        }
    }

    std::vector<DictionaryReference> dictionaries;
    for (const QString &path : paths) {
        DictionaryReference dictionary = m_opener.open(path, options.writable, &error);
        if (dictionary == 0)
            return refuse(error);
        if (target != 0 && dictionary == target) {
            return refuse(
                QCoreApplication::translate("HostSession", "The dictionary \"%1\" cannot transfer words into itself.")
                    .arg(QDir::toNativeSeparators(path)));
        }
        if (std::find(dictionaries.begin(), dictionaries.end(), dictionary) == dictionaries.end())
            dictionaries.push_back(dictionary);
    }

    for (const DictionaryReference &dictionary : dictionaries) {
        bool editable = options.writable;
        if (editable && dictionary->isReadOnly()) {
            HostMessage::warning(QCoreApplication::translate("HostSession", "The dictionary \"%1\" is read-only; it "
                                                                            "opens for viewing only.")
                                     .arg(QDir::toNativeSeparators(dictionary->path())));
            editable = false;
        }
        m_windows->addWindow(dictionary, editable);
    }
    if (target != 0)
        m_windows->setTransferTo(target);
    return true;
}
