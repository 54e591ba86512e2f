#include "archive/DemoVocabulary.h"

namespace cli::vocabulary {

const std::vector<Origin> &origins()
{
    static const std::vector<Origin> all = {
        {"Italia", 55,
         {"Mario", "Giuseppe", "Luca", "Francesco", "Antonio", "Marco", "Giovanni", "Paolo",
          "Stefano", "Nicolò", "Andrea", "Davide", "Salvatore", "Michele"},
         {"Maria", "Anna", "Giulia", "Francesca", "Chiara", "Rosa", "Lucia", "Sara",
          "Elena", "Noemi", "Giuseppina", "Carmela", "Beatrice", "Martina"},
         {"Rossi", "Bianchi", "Esposito", "Colombo", "Ferrari", "Romano", "Greco", "Bruno",
          "Gallo", "Conti", "De Luca", "Mancini", "Costa", "Fontana", "Moretti", "Lombardi",
          "D'Angelo", "Caruso", "Marchetti", "Rinaldi", "Barbieri", "Pellegrini"}},
        {"Marocco", 8,
         {"Mohamed", "Youssef", "Hamid", "Rachid", "Karim", "Omar"},
         {"Fatima", "Khadija", "Amina", "Naima", "Salma", "Leila"},
         {"El Amrani", "Benali", "Bouzid", "Ouali", "Haddad", "Chakir"}},
        {"Romania", 7,
         {"Ion", "Mihai", "Andrei", "Florin", "Constantin", "Gabriel"},
         {"Ioana", "Elena", "Mihaela", "Andreea", "Daniela", "Cristina"},
         {"Popescu", "Ionescu", "Dumitru", "Stan", "Munteanu", "Constantinescu"}},
        {"Albania", 6,
         {"Arben", "Ilir", "Gentian", "Erion", "Besnik", "Dritan"},
         {"Elira", "Mirela", "Anila", "Jonida", "Valbona", "Klodiana"},
         {"Hoxha", "Shehu", "Gashi", "Krasniqi", "Dervishi"}},
        {"Ucraina", 5,
         {"Oleksandr", "Andriy", "Dmytro", "Serhiy", "Taras", "Volodymyr"},
         {"Olena", "Natalia", "Iryna", "Oksana", "Tetiana", "Halyna"},
         {"Shevchenko", "Kovalenko", "Bondarenko", "Tkachenko", "Melnyk"}},
        {"Nigeria", 4,
         {"Chinedu", "Emeka", "Oluwaseun", "Ifeanyi", "Tunde", "Obinna"},
         {"Ngozi", "Chioma", "Blessing", "Adaeze", "Funmilayo", "Precious"},
         {"Okafor", "Adeyemi", "Eze", "Nwosu", "Balogun"}},
        {"Senegal", 3,
         {"Mamadou", "Abdoulaye", "Cheikh", "Ousmane", "Modou", "Ibrahima"},
         {"Aminata", "Fatou", "Awa", "Mariama", "Khady", "Rokhaya"},
         {"Diop", "Ndiaye", "Fall", "Sow", "Sarr"}},
        {"Perù", 3,
         {"José", "Luis", "Jorge", "Víctor", "César", "Raúl"},
         {"Rosa", "Carmen", "María Elena", "Lucía", "Milagros", "Yolanda"},
         {"Quispe", "Huamán", "Mamani", "Flores", "Chávez"}},
        {"Tunisia", 3,
         {"Mehdi", "Sami", "Walid", "Hichem", "Nabil", "Anis"},
         {"Sonia", "Ines", "Rim", "Amel", "Olfa", "Hela"},
         {"Ben Salah", "Trabelsi", "Jlassi", "Gharbi"}},
        {"Bangladesh", 2,
         {"Rahim", "Kamal", "Abdul", "Hasan", "Jamal", "Sohel"},
         {"Nasrin", "Shirin", "Taslima", "Rupa", "Farzana", "Sumaiya"},
         {"Hossain", "Rahman", "Islam", "Akter"}},
        {"Filippine", 2,
         {"Jose Mari", "Rodel", "Ariel", "Mark Anthony", "Jun", "Romeo"},
         {"Maricel", "Jocelyn", "Lorna", "Rowena", "Analyn", "Marites"},
         {"Santos", "Reyes", "Dela Cruz", "Bautista"}},
        {"Ecuador", 2,
         {"Diego", "Andrés", "Fabián", "Wilson", "Byron", "Édison"},
         {"Gabriela", "Verónica", "Jessica", "Mónica", "Paola", "Digna"},
         {"Guamán", "Zambrano", "Cedeño", "Vera"}}};
    return all;
}

const std::vector<Town> &towns()
{
    static const std::vector<Town> all = {
        {"Milano", "02"},   {"Bergamo", "035"},  {"Brescia", "030"},  {"Torino", "011"},
        {"Roma", "06"},     {"Napoli", "081"},   {"Bologna", "051"},  {"Firenze", "055"},
        {"Verona", "045"},  {"Padova", "049"},   {"Genova", "010"},   {"Bari", "080"},
        {"Palermo", "091"}, {"Cremona", "0372"}, {"Lodi", "0371"},    {"Monza", "039"},
        {"Como", "031"},    {"Pavia", "0382"},   {"Forlì", "0543"},   {"Cantù", "031"},
        {"Sesto San Giovanni", "02"}, {"Reggio nell'Emilia", "0522"}};
    return all;
}

const std::vector<QString> &streets()
{
    static const std::vector<QString> all = {
        "Via Roma", "Via Garibaldi", "Via Mazzini", "Corso Vittorio Emanuele II",
        "Via Cavour", "Piazza della Libertà", "Viale dei Mille", "Via Dante Alighieri",
        "Via XX Settembre", "Via Papa Giovanni XXIII", "Via San Francesco d'Assisi",
        "Viale Europa", "Via dei Caduti", "Via Manzoni", "Largo Aldo Moro",
        "Via Santa Lucia", "Corso Italia", "Via Nazionale", "Vicolo del Pozzo",
        "Via Gramsci", "Via Don Minzoni", "Viale della Repubblica"};
    return all;
}

const std::vector<QString> &housing()
{
    static const std::vector<QString> all = {
        "Affitto privato", "Casa popolare", "Ospite da parenti", "Proprietà con mutuo",
        "Comodato d'uso", "Struttura di accoglienza", "Senza fissa dimora",
        "Affitto con sfratto in corso"};
    return all;
}

const std::vector<QString> &referents()
{
    static const std::vector<QString> all = {
        "Assistente sociale del Comune", "Don Luigi (parroco)", "Centro di ascolto",
        "Suor Agnese", "Consultorio familiare", "Volontaria Paola", "Servizi sociali ASL"};
    return all;
}

const std::vector<QString> &otherBodies()
{
    static const std::vector<QString> all = {
        "San Vincenzo de' Paoli", "Emporio solidale", "Mensa dei frati",
        "Associazione Amici del quartiere", "CAV - Centro aiuto alla vita"};
    return all;
}

const std::vector<QString> &mailDomains()
{
    static const std::vector<QString> all = {"libero.it", "gmail.com", "alice.it",
                                             "yahoo.it", "hotmail.it", "tiscali.it"};
    return all;
}

const std::vector<QString> &foodNeeds()
{
    static const std::vector<QString> all = {
        "Necessità di latte per il più piccolo.",
        "Niente carne di maiale.",
        "Celiachia della figlia: servono pasta e biscotti senza glutine.",
        "Omogeneizzati e pannolini (taglia 4).",
        "Il nonno è diabetico: niente dolci, più verdura.",
        "Nessuna esigenza particolare.",
        "Olio, zucchero e caffè finiscono prima della fine del mese.",
        "Alimenti per l'infanzia; la mamma è in gravidanza."};
    return all;
}

const std::vector<QString> &notes()
{
    static const std::vector<QString> all = {
        "Il capofamiglia ha perso il lavoro a marzo; è iscritto al centro per l'impiego.",
        "Segnalata dai servizi sociali del Comune.",
        "Affitto arretrato di tre mesi: già contattato il proprietario.",
        "Chiede aiuto per le bollette della luce e del gas.",
        "Cassa integrazione fino a dicembre; poi si vedrà.",
        "La figlia maggiore frequenta il doposcuola della parrocchia.",
        "Documenti di soggiorno in rinnovo, ricevuta della Questura in fotocopia.",
        "Pacco alimentare ogni due settimane; ritira la moglie."};
    return all;
}

const std::vector<QString> &listening()
{
    static const std::vector<QString> all = {
        "Colloquio del martedì: la signora è molto preoccupata per la salute del marito.",
        "Racconta che il figlio più grande cerca lavoro come magazziniere.",
        "Si è presentato con la lettera di sfratto; indirizzato allo sportello casa.",
        "Chiede informazioni sul bonus sociale e sull'assegno unico.",
        "Vorrebbe un corso di italiano serale: segnalato alla scuola di via Manzoni."};
    return all;
}

} // namespace cli::vocabulary
