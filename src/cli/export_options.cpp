#include "export_options.h"

#include <QCommandLineParser>

namespace kalvian {

namespace {

std::string utf8(const QString& text) {
    return text.toUtf8().toStdString();
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
           "  --inscricao N        inscrição municipal a exportar; pode ser repetida\n"
           "  --todas              exporta todas as inscrições com notas no período\n"
           "  --inicio DD/MM/AAAA  primeiro dia do período\n"
           "  --fim DD/MM/AAAA     último dia do período (no máximo 15/12/2008)\n"
           "  --destino PASTA      pasta onde o arquivo será gravado (padrão: a pasta atual)\n"
           "  --arquivo NOME       nome do arquivo (padrão: VRK3_<inscrição>__<início>__<fim>.txt);\n"
           "                       só com uma inscrição\n"
           "  --substituir         substitui um arquivo que já exista (também o resumo)\n"
           "  --resumo ARQUIVO.csv grava um resumo com uma linha por inscrição exportada: contagens e\n"
           "                       totais, em CSV para planilhas (UTF-8, \";\", vírgula decimal)\n"
           "  --conferir ARQUIVO   confere um arquivo exportado, sem as tabelas: cada linha no seu\n"
           "                       formato, e mostra as mesmas contagens e totais da exportação\n"
           "  -h, --ajuda          mostra esta ajuda\n"
           "\n"
           "Saída: 0 exportado (ou arquivo conferido sem erros), 1 falha (a mensagem vai para a saída\n"
           "de erros; no --conferir, \"linha N: ...\" da primeira linha com erro), 2 uso incorreto.\n";
}

ParsedOptions parseExportOptions(const QStringList& arguments) {
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
    parser.addOptions(
        {origem, inscricao, todas, inicio, fim, destino, arquivo, substituir, resumo, conferir, ajuda});

    ParsedOptions parsed;
    if (!parser.parse(arguments)) {
        parsed.usageError = parser.unknownOptionNames().isEmpty()
                                ? "Falta o valor de uma opção: " + utf8(parser.errorText())
                                : "Opção desconhecida: " + utf8(parser.unknownOptionNames().join(", "));
        return parsed;
    }
    ExportOptions& options = parsed.options;
    options.ajuda = parser.isSet(ajuda);
    if (options.ajuda) {
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
            options.conferir = utf8(parser.value(conferir));
        }
        return parsed;
    }
    for (const QCommandLineOption* option : {&origem, &inicio, &fim}) {
        if (!parser.isSet(*option)) {
            parsed.usageError = "Falta a opção --" + utf8(option->names().first());
            return parsed;
        }
    }
    options.origem = utf8(parser.value(origem));
    options.inicio = utf8(parser.value(inicio));
    options.fim = utf8(parser.value(fim));
    for (const QString& value : parser.values(inscricao)) {
        options.inscricoes.push_back(utf8(value));
    }
    options.todas = parser.isSet(todas);
    if (options.inscricoes.empty() == !options.todas) {
        parsed.usageError = "Informe --inscricao ou --todas (um dos dois)";
        return parsed;
    }
    if (parser.isSet(destino)) {
        options.destino = utf8(parser.value(destino));
    }
    if (parser.isSet(arquivo)) {
        if (options.todas || options.inscricoes.size() > 1) {
            parsed.usageError =
                "--arquivo serve a uma inscrição só; com várias, cada uma recebe o nome proposto";
            return parsed;
        }
        options.arquivo = utf8(parser.value(arquivo));
    }
    options.substituir = parser.isSet(substituir);
    if (parser.isSet(resumo)) {
        options.resumo = utf8(parser.value(resumo));
    }
    return parsed;
}

} // namespace kalvian
