#include "counters/CounterNameTable.h"

namespace s::system::counter {

namespace {

struct ProbeRow {
    std::string_view path;
    std::string_view object;      // entry 4
    std::string_view readBytes;   // entry 5
    std::string_view writeBytes;  // entry 6
    std::string_view diskTime;    // entry 9
};

// In probe order; the first path the provider accepts decides the language.
constexpr std::array<ProbeRow, kProbeCount> kProbes = {{
    // English
    {"\\Process(_Total)\\% Processor Time", "PhysicalDisk", "Disk Read Bytes/sec", "Disk Write Bytes/sec", "% Disk Time"},
    // German
    {"\\Prozess(_Total)\\Prozessorzeit (%)", "Physikalischer Datenträger", "Bytes gelesen/s", "Bytes geschrieben/s",
     "Zeit (%)"},
    // Dutch
    {"\\Fysieke schijf(_Total)\\Schijfleesbewerkingen in bytes per seconde", "Fysieke schijf",
     "Schijfleesbewerkingen in bytes per seconde", "Schijfschrijfbewerkingen in bytes per seconde",
     "Percentage schijftijd"},
    {"\\Fysieke schijf(_Total)\\Gelezen bytes per seconde", "Fysieke schijf", "Gelezen bytes per seconde",
     "Geschreven bytes per seconde", "Percentage schijftijd"},
    // Spanish
    {"\\DiscoFísico(_Total)\\% Tiempo de disco", "DiscoFísico", "Bytes leídos de s.", "Bytes escritos en s.",
     "% Tiempo de disco"},
    {"\\Disco físico(_Total)\\% de tiempo de disco", "Disco físico", "Bytes de lectura de disco/s",
     "Bytes de escritura en disco/s", "% de tiempo de disco"},
    // Italian
    {"\\Processo(_Total)\\Operazioni di lettura IO /sec", "Disco fisico", "Byte letti da disco/sec",
     "Byte scritti su disco/sec", "% Tempo disco"},
    {"\\Processo(_Total)\\Operazioni lettura IO/sec", "Disco fisico", "Byte letti da disco/sec",
     "Byte scritti su disco/sec", "% Tempo disco"},
    // French
    {"\\Processus(_Total)\\Nb d'opérations de lecture d'E/S par sec", "Disque physique", "Lectures disque, octets/s",
     "Ecritures disque, octets/s", "% Temps du disque"},
    {"\\Processus(_Total)\\Nombre d'opérations de lecture/s", "Disque physique", "Lectures disque, octets/s",
     "Écritures disque, octets/s", "Pourcentage du temps disque"},
    {"\\Processus(_Total)\\Nombre d’opérations de lecture/s", "Disque physique", "Lectures disque, octets/s",
     "Écritures disque, octets/s", "Pourcentage du temps disque"},
    // Russian
    {"\\Процесс(_Total)\\Рабочее множество", "Физический диск", "Скорость чтения с диска (байт/сек)",
     "Скорость записи на диск (байт/сек)", "% активности диска"},
    {"\\Физический диск(_Total)\\Скорость чтения с диска (байт/сек)", "Физический диск",
     "Скорость чтения с диска (байт/сек)", "Скорость записи на диск (байт/сек)", "% активности диска"},
    {"\\Физический диск(_Total)\\Скорость чтения с диска (байт/с)", "Физический диск",
     "Скорость чтения с диска (байт/с)", "Скорость записи на диск (байт/с)", "% активности диска"},
    // Czech
    {"\\Proces(_Total)\\% času procesoru", "Fyzický disk", "Bajty čtení z disku/s", "Bajty zapisování na disk/s",
     "% času disku"},
    // Polish
    {"\\Proces(_Total)\\Czas procesora (%)", "Dysk fizyczny", "Bajty odczytu dysku/s", "Bajty zapisu dysku/s",
     "Czas dysku (%)"},
    // Greek
    {"\\Διεργασία(_Total)\\% χρόνου επεξεργαστή", "Φυσικός δίσκος", "Byte ανάγνωσης δίσκου/δευτερόλεπτο",
     "Byte εγγραφής δίσκου/δευτερόλεπτο", "% χρόνου δίσκου"},
    // Swedish
    {"\\Processor(_Total)\\% användartid", "Fysisk disk", "Disk - lästa byte/s", "Disk - skrivna byte/s", "% disktid"},
    {"\\Processor(_Total)\\Användartid i procent", "Fysisk disk", "Disk - lästa byte/s", "Disk - skrivna byte/s",
     "Disktid i procent"},
    // Norwegian
    {"\\Prosess(_Total)\\% Prosessortid", "Fysisk disk", "Leste diskbyte/sek", "Skrevne diskbyte/sek", "% Disktid"},
    // Turkish
    {"\\İşlem(_Total)\\% Kullanıcı Zamanı", "FizikselDisk", "Disk Okuma Bayt/sn", "Disk Yazma Bayt/sn",
     "% Disk Zamanı"},
    {"\\İşlem(_Total)\\Kullanıcı Zamanı Yüzdesi", "FizikselDisk", "Disk Okuma Bayt/sn", "Disk Yazma Bayt/sn",
     "% Disk Zamanı"},
    // Finnish
    {"\\Prosessi(_Total)\\Suoritinaika prosentteina", "Fyysinen levy", "Levyn lukutavuja/s", "Levyn kirjoitustavuja/s",
     "Levyaika prosentteina"},
    // Hungarian
    {"\\Folyamat(_Total)\\I/O - olvasás (művelet/mp)", "Fizikai lemez", "Olvasási sebesség (bájt/mp)",
     "Írási sebesség (bájt/mp)", "Lemezmeghajtó kihasználtsága (%)"},
    {"\\Folyamat(_Total)\\I/O - olvasás (művelet/s)", "Fizikai lemez", "Olvasási sebesség (bájt/s)",
     "Írási sebesség (bájt/s)", "Lemezmeghajtó kihasználtsága (%)"},
    // Arabic
    {"\\قرص منطقي(_Total)\\الميغا بايت الحرة", "قرص فعلي", "وحدات البايت المقروءة من القرص/الثانية",
     "وحدات البايت المكتوبة إلى القرص/الثانية", "% لزمن القرص"},
    {"\\قرص منطقي(_Total)\\الميغابايت الحرة", "قرص فعلي", "وحدات البايت المقروءة من القرص/الثانية",
     "وحدات البايت المكتوبة إلى القرص/الثانية", "% لزمن القرص"},
    // Hebrew
    {"\\תהליך(_Total)\\% זמן מעבד", "דיסק פיזי", "קריאת בתים של דיסק/שניה", "כתיבת בתים של דיסק/שניה", "% זמן דיסק"},
    // Danish
    {"\\Proces(_Total)\\IO-læsehandlinger/sekund", "Fysisk disk", "Læste diskbyte/sekund", "Skrevne diskbyte/sekund",
     "% Disktid"},
    {"\\Proces(_Total)\\IO-læsehandlinger pr. sekund", "Fysisk disk", "Læste diskbyte pr. sekund",
     "Skrevne diskbyte pr. sekund", "% Disktid"},
    // Portuguese; set 31 pairs "/segundo" for reading with "/s" for writing, as the system stores it.
    {"\\PhysicalDisk(_Total)\\Bytes de leitura de disco/segundo", "PhysicalDisk", "Bytes de leitura de disco/segundo",
     "Bytes de gravação de disco/s", "% tempo de disco"},
    {"\\PhysicalDisk(_Total)\\Bytes de leitura de disco/s", "PhysicalDisk", "Bytes de leitura de disco/s",
     "Bytes de gravação de disco/s", "% tempo de disco"},
    {"\\Processo(_Total)\\N.º de threads", "Disco físico", "Bytes lidos de disco/seg", "Bytes escritos em disco/seg",
     "% tempo de disco"},
    {"\\Disco físico(_Total)\\Bytes lidos de disco/seg", "Disco físico", "Bytes lidos de disco/seg",
     "Bytes escritos em disco/seg", "% tempo de disco"},
    // The system's standard counter indexes, for systems whose names cannot be read.
    {"\\230(_Total)\\6", "234", "220", "222", "200"},
    {"\\230(_Total)\\?", "234", "220", "222", "200"},
}};

constexpr NameSet kEnglish = {
    "Processor",          "% Processor Time",   "% User Time",
    "PhysicalDisk",       "Disk Read Bytes/sec", "Disk Write Bytes/sec",
    "Disk Reads/sec",     "Disk Writes/sec",    "% Disk Time",
    "LogicalDisk",        "% Free Space",       "Free Megabytes",
    "Network Interface",  "Bytes Sent/sec",     "Bytes Received/sec",
    "Process",            "ID Process",         "Working Set",
    "IO Read Operations/sec", "IO Write Operations/sec", "IO Read Bytes/sec",
    "IO Write Bytes/sec", "Thread Count",       "Handle Count",
    "Elapsed Time",
};

constexpr NameSet kIndexes = {"238", "6",   "142", "234", "220", "222",  "214",  "216",  "200",
                              "236", "408", "410", "510", "506", "264",  "230",  "784",  "180",
                              "1412", "1414", "1420", "1422", "680", "952", "684"};

constexpr int kFirstIndexProbe = 35;

}  // namespace

std::string_view probePath(int probe)
{
    if (probe < 1 || probe > kProbeCount)
        return {};
    return kProbes[static_cast<size_t>(probe - 1)].path;
}

NameSet nameSetForProbe(int probe)
{
    if (probe < 1 || probe > kProbeCount || probe == 1)
        return kEnglish;
    if (probe >= kFirstIndexProbe) {
        NameSet set = kIndexes;
        // Entry 2 is the counter the matching probe named: "6", or "?" for the last probe.
        set[kProcessorTime - 1] = probe == kFirstIndexProbe ? "6" : "?";
        return set;
    }
    const ProbeRow& row = kProbes[static_cast<size_t>(probe - 1)];
    NameSet set{};
    set[kPhysicalDiskObject - 1] = row.object;
    set[kDiskReadBytes - 1] = row.readBytes;
    set[kDiskWriteBytes - 1] = row.writeBytes;
    set[kDiskTime - 1] = row.diskTime;
    return set;
}

}  // namespace s::system::counter
