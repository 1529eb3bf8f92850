#include "export_options.h"

#include "common/version.h"
#include "common/windows1252.h"
#include "export_format/export_lines.h"

#include <QCommandLineParser>

namespace kalvian {

namespace {

// The parser sees every byte as one Latin-1 character, which keeps all of them.
QString fromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string bytes(const QString& value) {
    return value.toLatin1().toStdString();
}

// A value meant as text: UTF-8, with U+FFFD for what is not.
std::string utf8(const QString& value) {
    return QString::fromUtf8(value.toLatin1()).toUtf8().toStdString();
}

// A name that leads into another folder, or is no name of a file at all.
bool isPlainFileName(const std::string& name) {
    return name.find_first_of("/\\") == std::string::npos && name != "." && name != "..";
}

} // namespace

std::string exportUsage() {
    return "Uso: kalvian-export --origem PASTA (--inscricao N [--inscricao N ...] | --todas)\n"
           "                    --inicio DD/MM/AAAA --fim DD/MM/AAAA\n"
           "                    [--destino PASTA] [--arquivo NOME] [--substituir] [--resumo ARQUIVO.csv]\n"
           "     kalvian-export --conferir ARQUIVO\n"
           "\n"
           "Exporta as notas fiscais de serviço da VRK 3 (tabelas DSEMI, DSREC e DSCLI) para o arquivo\n"
           "de importação da VRK 4. Depois de cada exportação mostra os totais do que foi gravado: notas X,\n"
           "valores das notas e dos serviços emitidos e recebidos, imposto retido e as notas cujo cliente\n"
           "não foi encontrado (com até dez dos seus códigos). Com --todas mostra um total só, no fim.\n"
           "\n"
           "Opções:\n"
           "  --origem PASTA       pasta que contém as tabelas da VRK 3\n"
           "  --inscricao N        inscrição municipal a exportar, até 11 caracteres; pode ser repetida\n"
           "  --todas              exporta todas as inscrições com notas no período\n"
           "  --inicio DD/MM/AAAA  primeiro dia do período\n"
           "  --fim DD/MM/AAAA     último dia do período (no máximo 15/12/2008)\n"
           "  --destino PASTA      pasta onde o arquivo será gravado (padrão: a pasta atual)\n"
           "  --arquivo NOME       nome do arquivo, sem pasta (padrão: "
           "VRK3_<inscrição>__<início>__<fim>.txt);\n"
           "                       só com uma inscrição\n"
           "  --substituir         substitui um arquivo que já exista (também o resumo)\n"
           "  --resumo ARQUIVO.csv grava um resumo com uma linha por inscrição exportada: contagens e\n"
           "                       totais, em CSV para planilhas (UTF-8, \";\", vírgula decimal)\n"
           "  --conferir ARQUIVO   confere um arquivo exportado, sem as tabelas: cada linha no seu\n"
           "                       formato, e mostra as mesmas contagens e totais da exportação\n"
           "  -h, --ajuda          mostra esta ajuda\n"
           "  --versao             mostra a versão do programa\n"
           "\n"
           "Saída: 0 exportado (ou arquivo conferido sem erros), 1 falha (a mensagem vai para a saída\n"
           "de erros; no --conferir, \"linha N: ...\" da primeira linha com erro), 2 uso incorreto.\n";
}

std::string exportVersion() {
    return std::string("kalvian-export ") + kVersion + "\n";
}

ParsedOptions parseExportOptions(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption origem("origem", {}, "PASTA");
    const QCommandLineOption inscricao("inscricao", {}, "N");
    const QCommandLineOption todas("todas");
    const QCommandLineOption inicio("inicio", {}, "DATA");
    const QCommandLineOption fim("fim", {}, "DATA");
    const QCommandLineOption destino("destino", {}, "PASTA");
    const QCommandLineOption arquivo("arquivo", {}, "NOME");
    const QCommandLineOption substituir("substituir");
    const QCommandLineOption resumo("resumo", {}, "ARQUIVO");
    const QCommandLineOption conferir("conferir", {}, "ARQUIVO");
    const QCommandLineOption ajuda(QStringList{"h", "ajuda", "help"});
    const QCommandLineOption versao(QStringList{"versao", "version"});
    parser.addOptions({origem, inscricao, todas, inicio, fim, destino, arquivo, substituir, resumo, conferir,
                       ajuda, versao});

    QStringList decoded;
    for (const std::string& argument : arguments) {
        decoded.append(fromBytes(argument));
    }
    ParsedOptions parsed;
    if (!parser.parse(decoded)) {
        parsed.usageError = parser.unknownOptionNames().isEmpty()
                                ? "Falta o valor de uma opção: " + utf8(parser.errorText())
                                : "Opção desconhecida: " + utf8(parser.unknownOptionNames().join(", "));
        return parsed;
    }
    ExportOptions& options = parsed.options;
    options.ajuda = parser.isSet(ajuda);
    options.versao = parser.isSet(versao);
    if (options.ajuda || options.versao) {
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.usageError = "Argumento inesperado: " + utf8(parser.positionalArguments().first());
        return parsed;
    }
    const QCommandLineOption* single[] = {&origem, &inicio, &fim, &destino, &arquivo, &resumo, &conferir};
    for (const QCommandLineOption* option : single) {
        if (parser.values(*option).size() > 1) {
            parsed.usageError = "A opção --" + utf8(option->names().first()) + " só pode ser dada uma vez";
            return parsed;
        }
    }
    if (parser.isSet(conferir)) {
        if (parser.optionNames().size() > 1) {
            parsed.usageError = "--conferir não se combina com outras opções";
        } else {
            options.conferir = bytes(parser.value(conferir));
        }
        return parsed;
    }
    for (const QCommandLineOption* option : {&origem, &inicio, &fim}) {
        if (!parser.isSet(*option)) {
            parsed.usageError = "Falta a opção --" + utf8(option->names().first());
            return parsed;
        }
    }
    options.origem = bytes(parser.value(origem));
    options.inicio = utf8(parser.value(inicio));
    options.fim = utf8(parser.value(fim));
    for (const QString& value : parser.values(inscricao)) {
        options.inscricoes.push_back(utf8(value));
        if (!registrationFitsHeader(utf8ToWindows1252(options.inscricoes.back()))) {
            parsed.usageError =
                "--inscricao recebe no máximo " + std::to_string(kRegistrationWidth) +
                " caracteres, os que cabem no cabeçalho do arquivo: " + options.inscricoes.back();
            return parsed;
        }
    }
    options.todas = parser.isSet(todas);
    if (options.inscricoes.empty() == !options.todas) {
        parsed.usageError = "Informe --inscricao ou --todas (um dos dois)";
        return parsed;
    }
    if (parser.isSet(destino)) {
        options.destino = bytes(parser.value(destino));
    }
    if (parser.isSet(arquivo)) {
        if (options.todas || options.inscricoes.size() > 1) {
            parsed.usageError =
                "--arquivo serve a uma inscrição só; com várias, cada uma recebe o nome proposto";
            return parsed;
        }
        options.arquivo = bytes(parser.value(arquivo));
        if (!isPlainFileName(*options.arquivo)) {
            parsed.usageError =
                "--arquivo recebe só o nome do arquivo, sem pasta (a pasta vai em --destino): " +
                *options.arquivo;
            return parsed;
        }
    }
    options.substituir = parser.isSet(substituir);
    if (parser.isSet(resumo)) {
        options.resumo = bytes(parser.value(resumo));
    }
    return parsed;
}

} // namespace kalvian
