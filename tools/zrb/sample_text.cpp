#include "sample_text.h"

#include <cctype>

namespace zrb {
namespace {

const std::vector<std::string> kFirst = {
    "Anna", "Bo",     "Chloé",     "Dmitri", "Émile", "Fatima", "Göran",   "Hiroshi",
    "Inés", "Jürgen", "Katarzyna", "Lars",   "María", "Nils",   "Øystein", "Paolo",
    "Zoë",  "Søren",  "Ольга",     "Ελένη",  "健太",  "美咲"};
const std::vector<std::string> kLast = {
    "Berg",    "Dubois",       "García",   "Müller",  "Nakamura",  "Kowalski", "Rossi", "Andersson",
    "Ivanova", "Papadopoulou", "Ødegaard", "Lefèvre", "Fernández", "Schäfer",  "佐藤",  "Smith"};
const std::vector<std::string> kCompanies = {"Velmora", "Acme", "Nordlicht", "Solaris", "Hanami"};
const std::vector<std::string> kCities = {"Köln",  "Lyon",  "Sevilla", "Malmö", "Kraków",
                                          "Osaka", "Αθήνα", "Москва",  "Boston"};
const std::vector<std::string> kTopics = {
    "budget 2027",      "release plan",     "team offsite",     "customer visit",
    "quarterly report", "server migration", "Überstunden",      "réunion de projet",
    "presupuesto",      "出張の件",         "отчёт за квартал", "travel expenses",
    "holiday schedule", "contract renewal"};
const std::vector<std::string> kPrefixes = {
    "", "", "Re: ", "Fwd: ", "Question about ", "Update: ", "Urgent: "};
const std::vector<std::string> kCategories = {"H", "V",       "P",      "C",      "PC",
                                              "T", "Finance", "Kunden", "Projets"};
const std::vector<std::string> kLocations = {"Room 4.12", "Salle Lumière", "Konferenzraum B",
                                             "会議室3",   "Online",        "Café Central"};

// Sentences per language; a paragraph strings a few of one language together.
const std::vector<std::vector<std::string>> kSentences = {
    {"Please find the latest figures attached.", "Let me know if anything is missing.",
     "We should decide before the end of the month.", "The numbers look better than expected.",
     "Could you review the draft by Friday?", "Thanks again for your help last week."},
    {"Anbei finden Sie die aktuellen Zahlen.", "Bitte geben Sie mir bis Freitag Bescheid.",
     "Die Größe der Änderung überrascht mich.", "Wir müssen die Prüfung verschieben."},
    {"Vous trouverez ci-joint le compte rendu.", "La réunion est déplacée à jeudi.",
     "Merci de vérifier les données avant l'envoi.", "Je reste à votre disposition."},
    {"Adjunto el informe del trimestre.", "¿Podemos hablar mañana por la mañana?",
     "La reunión será en la sala pequeña."},
    {"資料を添付しましたのでご確認ください。", "来週の会議は水曜日に変更になりました。",
     "よろしくお願いいたします。"},
    {"Высылаю отчёт за прошлый месяц.", "Встреча переносится на четверг.",
     "Спасибо за быстрый ответ."},
    {"Σας στέλνω την αναφορά του μήνα.", "Η συνάντηση μεταφέρθηκε για την Πέμπτη."},
};

} // namespace

std::string Person::address() const {
    std::string mailbox;
    for (unsigned char c : first + "." + last)
        if (c < 0x80 && c != ' ')
            mailbox += static_cast<char>(std::tolower(c));
    if (mailbox.size() < 3)
        mailbox = "user" + std::to_string(first.size() * 31 + last.size());
    std::string domain;
    for (unsigned char c : company)
        domain += static_cast<char>(std::tolower(c));
    return mailbox + "@" + domain + ".example";
}

Person SampleText::person() {
    return {pick(kFirst), pick(kLast), pick(kCompanies), pick(kCities), "DE"};
}

std::string SampleText::subject() {
    return pick(kPrefixes) + pick(kTopics);
}

std::string SampleText::category() {
    return pick(kCategories);
}

std::string SampleText::location() {
    return pick(kLocations);
}

nlohmann::json SampleText::body(int paragraphs, const std::string& signature) {
    const auto& language = pick(kSentences);
    nlohmann::json out = nlohmann::json::array();
    out.push_back(nlohmann::json::array({"Hello,"}));
    out.push_back(nlohmann::json::array());
    for (int p = 0; p < paragraphs; ++p) {
        std::string text;
        for (int s = 0, count = 2 + below(5); s < count; ++s)
            text += (s ? " " : "") + pick(language);
        if (chance(15))
            text = "\t" + text;
        // A run of its own, as a client stores emphasis.
        if (chance(20))
            out.push_back(
                nlohmann::json::array({text, {{"text", " (important)"}, {"bold", true}}}));
        else
            out.push_back(nlohmann::json::array({text}));
        out.push_back(nlohmann::json::array());
    }
    out.push_back(nlohmann::json::array({"Best regards,"}));
    out.push_back(nlohmann::json::array({signature}));
    return out;
}

} // namespace zrb
