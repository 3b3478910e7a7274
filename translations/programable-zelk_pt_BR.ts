<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>About</name>
    <message>
        <source>About Programable Zelk</source>
        <translation>Sobre o Programable Zelk</translation>
    </message>
    <message>
        <source>Programable Zelk %1
The configurator of the Zelk flex-fuel injection module.

Qt %2
Licence: GPL-3.0-or-later. This program comes with ABSOLUTELY NO WARRANTY; you may redistribute it under the terms of the GNU General Public License, version 3 or later.

</source>
        <translation>Programable Zelk %1
O configurador do módulo de injeção flex Zelk.

Qt %2
Licença: GPL-3.0-or-later. Este programa vem SEM NENHUMA GARANTIA; você pode redistribuí-lo nos termos da Licença Pública Geral GNU, versão 3 ou posterior.

</translation>
    </message>
    <message>
        <source>Module: not connected</source>
        <translation>Módulo: não conectado</translation>
    </message>
    <message>
        <source>Module version: %1</source>
        <translation>Versão do módulo: %1</translation>
    </message>
</context>
<context>
    <name>ChartWindow</name>
    <message>
        <source>Programable Zelk: live chart</source>
        <translation>Programable Zelk: gráfico ao vivo</translation>
    </message>
    <message>
        <source>&amp;Window:</source>
        <translation>&amp;Janela:</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pausar</translation>
    </message>
    <message>
        <source>Export P&amp;NG...</source>
        <translation>Exportar P&amp;NG...</translation>
    </message>
    <message>
        <source>Export &amp;CSV...</source>
        <translation>Exportar &amp;CSV...</translation>
    </message>
</context>
<context>
    <name>ChooseSettings</name>
    <message>
        <source>Restore chosen settings</source>
        <translation>Restaurar as escolhidas</translation>
    </message>
    <message>
        <source>Tick the settings to restore; the others stay as the module holds them.</source>
        <translation>Marque as configurações a restaurar; as outras ficam como o módulo as guarda.</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Histórico</translation>
    </message>
</context>
<context>
    <name>Commissioning</name>
    <message>
        <source>Connect and read</source>
        <translation>Conectar e ler</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Cópia de segurança</translation>
    </message>
    <message>
        <source>Sensor check</source>
        <translation>Verificação dos sensores</translation>
    </message>
    <message>
        <source>RPM/oxygen-sensor program</source>
        <translation>Programa de RPM/sonda lambda</translation>
    </message>
    <message>
        <source>MAP program</source>
        <translation>Programa do MAP</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Relatório</translation>
    </message>
    <message>
        <source>Run connects to the module (when its port does not answer, Find asks every port), shows its version and reads its settings.</source>
        <translation>Executar conecta ao módulo (quando a porta dele não responde, Localizar pergunta em todas as portas), mostra a versão dele e lê as configurações.</translation>
    </message>
    <message>
        <source>Run keeps the module&apos;s settings as the restore point &quot;before-commissioning&quot; in the vehicle&apos;s records. The report marks every setting changed since.</source>
        <translation>Executar guarda as configurações do módulo como o ponto de restauração &quot;before-commissioning&quot; nos registros do veículo. O relatório marca cada configuração alterada depois disso.</translation>
    </message>
    <message>
        <source>Run watches the live values; after 30 s Finish keeps the lowest and highest of each and how often the lambda voltage crossed the &quot;Lambda Value&quot; setting. Tick each check, or give the reason it is not ticked.</source>
        <translation>Executar acompanha os valores ao vivo; depois de 30 s, Concluir guarda o menor e o maior de cada um e quantas vezes a tensão da sonda lambda cruzou a configuração &quot;Valor Lambda&quot;. Marque cada verificação ou informe por que não a marcou.</translation>
    </message>
    <message>
        <source>Run starts the RPM/oxygen-sensor program and follows it to its end.</source>
        <translation>Executar inicia o programa de RPM/sonda lambda e o acompanha até o fim.</translation>
    </message>
    <message>
        <source>Run starts the MAP program and follows it to its end; do what its prompts ask.</source>
        <translation>Executar inicia o programa do MAP e o acompanha até o fim; faça o que as mensagens dele pedirem.</translation>
    </message>
    <message>
        <source>The module&apos;s settings beside the backup. Change what is to change in the column &quot;To write&quot;; Run writes them, reads them back and verifies them.</source>
        <translation>As configurações do módulo ao lado da cópia de segurança. Altere o que for preciso na coluna &quot;A gravar&quot;; Executar as grava, lê de volta e confere.</translation>
    </message>
    <message>
        <source>Run makes the customer&apos;s report (PDF) from the vehicle&apos;s records and keeps it with them.</source>
        <translation>Executar faz o relatório ao cliente (PDF) a partir dos registros do veículo e o guarda junto deles.</translation>
    </message>
    <message>
        <source>done</source>
        <translation>concluída</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>pulada</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>falhou</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>cancelada</translation>
    </message>
    <message>
        <source>Engine temperature (C)</source>
        <translation>Temperatura do motor (C)</translation>
    </message>
    <message>
        <source>MAP (V)</source>
        <translation>MAP (V)</translation>
    </message>
    <message>
        <source>Lambda (mV)</source>
        <translation>Lambda (mV)</translation>
    </message>
    <message>
        <source>RPM</source>
        <translation>RPM</translation>
    </message>
    <message>
        <source>Engine temperature reads sensibly</source>
        <translation>A temperatura do motor tem leitura coerente</translation>
    </message>
    <message>
        <source>Lambda switches</source>
        <translation>A sonda lambda oscila</translation>
    </message>
    <message>
        <source>MAP with the key on</source>
        <translation>MAP com a chave ligada</translation>
    </message>
    <message>
        <source>MAP at idle</source>
        <translation>MAP em marcha lenta</translation>
    </message>
    <message>
        <source>completed</source>
        <translation>concluído</translation>
    </message>
    <message>
        <source>aborted</source>
        <translation>interrompido</translation>
    </message>
    <message>
        <source>on</source>
        <translation>ligado</translation>
    </message>
    <message>
        <source>off</source>
        <translation>desligado</translation>
    </message>
    <message>
        <source>The lambda voltage crossed the &quot;Lambda Value&quot; setting (%1 mV) %2 times.</source>
        <translation>A tensão da sonda lambda cruzou a configuração &quot;Valor Lambda&quot; (%1 mV) %2 vezes.</translation>
    </message>
    <message>
        <source>Skipped: %1</source>
        <translation>Pulada: %1</translation>
    </message>
    <message>
        <source>The report is kept in %1&apos;s records:
%2</source>
        <translation>O relatório está guardado nos registros de %1:
%2</translation>
    </message>
</context>
<context>
    <name>CommissioningWizard</name>
    <message>
        <source>Commissioning</source>
        <translation>Comissionamento</translation>
    </message>
    <message>
        <source>Vehicle:</source>
        <translation>Veículo:</translation>
    </message>
    <message>
        <source>Module version:</source>
        <translation>Versão do módulo:</translation>
    </message>
    <message>
        <source>&amp;Vehicle...</source>
        <translation>&amp;Veículo...</translation>
    </message>
    <message>
        <source>Reason, when not ticked</source>
        <translation>Motivo, quando não marcada</translation>
    </message>
    <message>
        <source>Technician:</source>
        <translation>Técnico:</translation>
    </message>
    <message>
        <source>Notes for the customer:</source>
        <translation>Observações para o cliente:</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>&amp;Open the PDF</source>
        <translation>A&amp;brir o PDF</translation>
    </message>
    <message>
        <source>S&amp;kip...</source>
        <translation>&amp;Pular...</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>Pró&amp;ximo</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Fechar</translation>
    </message>
</context>
<context>
    <name>CompareDialog</name>
    <message>
        <source>Compare with file</source>
        <translation>Comparar com arquivo</translation>
    </message>
</context>
<context>
    <name>CustomerReport</name>
    <message>
        <source>Customer report</source>
        <translation>Relatório ao cliente</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Service report</source>
        <translation>Relatório de serviço</translation>
    </message>
    <message>
        <source>Commissioning report</source>
        <translation>Relatório de comissionamento</translation>
    </message>
    <message>
        <source>Vehicle</source>
        <translation>Veículo</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>Cliente</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Commissioning begun</source>
        <translation>Comissionamento iniciado</translation>
    </message>
    <message>
        <source>Technician</source>
        <translation>Técnico</translation>
    </message>
    <message>
        <source>Module version</source>
        <translation>Versão do módulo</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>No settings were read from the module.</source>
        <translation>Nenhuma configuração foi lida do módulo.</translation>
    </message>
    <message>
        <source>As the module held them at %1.</source>
        <translation>Como o módulo as guardava em %1.</translation>
    </message>
    <message>
        <source>Settings marked * were changed since the backup of %1; the value before is beside them.</source>
        <translation>As configurações marcadas com * foram alteradas depois da cópia de segurança de %1; o valor anterior está ao lado.</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Configuração</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unidade</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Antes</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Programas</translation>
    </message>
    <message>
        <source>No program was run.</source>
        <translation>Nenhum programa foi executado.</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programa</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>When</source>
        <translation>Quando</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message>
        <source>No sensor check was made.</source>
        <translation>Nenhuma verificação dos sensores foi feita.</translation>
    </message>
    <message>
        <source>Measured at %1 over %2 s (%3 readings).</source>
        <translation>Medido em %1 durante %2 s (%3 leituras).</translation>
    </message>
    <message>
        <source>Lowest</source>
        <translation>Menor</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Maior</translation>
    </message>
    <message>
        <source>not measured</source>
        <translation>não medido</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Verificação</translation>
    </message>
    <message>
        <source>checked</source>
        <translation>verificado</translation>
    </message>
    <message>
        <source>not checked: %1</source>
        <translation>não verificado: %1</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Observações</translation>
    </message>
    <message>
        <source>Report for %1</source>
        <translation>Relatório de %1</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>COM Port Config.</source>
        <translation>Config. Porta COM</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Pta.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Ask every listed port for the module&apos;s version</source>
        <translation>Perguntar a versão do módulo em cada porta listada</translation>
    </message>
    <message>
        <source>F&amp;ind</source>
        <translation>Local&amp;izar</translation>
    </message>
    <message>
        <source>Read the computer&apos;s port list again (after plugging in an adapter)</source>
        <translation>Ler de novo a lista de portas do computador (depois de ligar um adaptador)</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>A&amp;tualizar</translation>
    </message>
</context>
<context>
    <name>Guide</name>
    <message>
        <source>user-guide.md</source>
        <translation>user-guide.pt_BR.md</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 a %2</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Configuração</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unidade</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Faixa</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Padrão</translation>
    </message>
    <message>
        <source>Needs</source>
        <translation>Requer</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Significado</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Opção</translation>
    </message>
</context>
<context>
    <name>GuideWindow</name>
    <message>
        <source>Programable Zelk: user guide</source>
        <translation>Programable Zelk: guia do usuário</translation>
    </message>
</context>
<context>
    <name>Link</name>
    <message>
        <source>no error</source>
        <translation>sem erro</translation>
    </message>
    <message>
        <source>no such port</source>
        <translation>porta inexistente</translation>
    </message>
    <message>
        <source>the port is in use by another program</source>
        <translation>a porta está em uso por outro programa</translation>
    </message>
    <message>
        <source>permission denied (on Linux, add the user to the dialout group)</source>
        <translation>permissão negada (no Linux, inclua o usuário no grupo dialout)</translation>
    </message>
    <message>
        <source>not a serial port</source>
        <translation>não é uma porta serial</translation>
    </message>
    <message>
        <source>no usable port name given</source>
        <translation>nenhum nome de porta utilizável</translation>
    </message>
    <message>
        <source>the port could not be opened</source>
        <translation>não foi possível abrir a porta</translation>
    </message>
    <message>
        <source>no way to open a port</source>
        <translation>não há como abrir uma porta</translation>
    </message>
    <message>
        <source>empty port name</source>
        <translation>nome de porta vazio</translation>
    </message>
    <message>
        <source>%1: error %2</source>
        <translation>%1: erro %2</translation>
    </message>
</context>
<context>
    <name>Log</name>
    <message>
        <source>Log</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>&amp;500 ms</source>
        <translation>&amp;500 ms</translation>
    </message>
    <message>
        <source>&amp;200 ms</source>
        <translation>&amp;200 ms</translation>
    </message>
    <message>
        <source>&amp;100 ms</source>
        <translation>&amp;100 ms</translation>
    </message>
    <message>
        <source>&amp;As fast as the link allows</source>
        <translation>O mais &amp;rápido que a linha permitir</translation>
    </message>
</context>
<context>
    <name>LogReview</name>
    <message>
        <source>failed</source>
        <translation>falhou</translation>
    </message>
    <message>
        <source>Since the start</source>
        <translation>Desde o início</translation>
    </message>
    <message>
        <source>Wall clock</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>2nd cursor</source>
        <translation>2º cursor</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>Diferença</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Mínimo</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Máximo</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Média</translation>
    </message>
</context>
<context>
    <name>LogReviewWindow</name>
    <message>
        <source>Programable Zelk: log review</source>
        <translation>Programable Zelk: revisão de registro</translation>
    </message>
    <message>
        <source>&amp;Open log...</source>
        <translation>&amp;Abrir registro...</translation>
    </message>
    <message>
        <source>O&amp;verlay log...</source>
        <translation>&amp;Sobrepor registro...</translation>
    </message>
    <message>
        <source>&amp;Align at:</source>
        <translation>A&amp;linhar por:</translation>
    </message>
    <message>
        <source>Where the overlaid log lies over this one</source>
        <translation>Onde o registro sobreposto fica sobre este</translation>
    </message>
    <message>
        <source>The marker of this log</source>
        <translation>A marca deste registro</translation>
    </message>
    <message>
        <source>The marker of the overlaid log</source>
        <translation>A marca do registro sobreposto</translation>
    </message>
    <message>
        <source>&amp;Whole log</source>
        <translation>Registro &amp;inteiro</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportar...</translation>
    </message>
    <message>
        <source>The rows shown, with this computer&apos;s list and decimal separators</source>
        <translation>As linhas à vista, com os separadores de lista e decimal deste computador</translation>
    </message>
    <message>
        <source>Export for a &amp;spreadsheet...</source>
        <translation>Exportar para &amp;planilha...</translation>
    </message>
    <message>
        <source>A click in the panels puts the cursor there, Shift+click the second one; Left and Right step a row</source>
        <translation>Um clique nos painéis põe o cursor ali, Shift+clique o segundo; Esquerda e Direita andam uma linha</translation>
    </message>
    <message>
        <source>Over what is shown:</source>
        <translation>No que está à vista:</translation>
    </message>
    <message>
        <source>&amp;Markers:</source>
        <translation>&amp;Marcas:</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Cold Start </source>
        <translation>Partida a Frio </translation>
    </message>
    <message>
        <source>Injec. Time </source>
        <translation>Tempo Injeç. </translation>
    </message>
    <message>
        <source>Time of Cold Start Injection</source>
        <translation>Tempo de injeção da partida a frio</translation>
    </message>
    <message>
        <source>1000</source>
        <translation>1000</translation>
    </message>
    <message>
        <source>ms </source>
        <translation>ms </translation>
    </message>
    <message>
        <source>Max. Temp.</source>
        <translation>Temp. Máx.</translation>
    </message>
    <message>
        <source>Max. temperature for Cold Start Injection</source>
        <translation>Temperatura máxima para a injeção da partida a frio</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>C </source>
        <translation>C </translation>
    </message>
    <message>
        <source>Start Mix </source>
        <translation>Mistura Ini. </translation>
    </message>
    <message>
        <source>Porc. of the Mixture of Fuel where Cold Start Enters</source>
        <translation>Porcentagem da mistura de combustível em que entra a partida a frio</translation>
    </message>
    <message>
        <source>37</source>
        <translation>37</translation>
    </message>
    <message>
        <source>% </source>
        <translation>% </translation>
    </message>
    <message>
        <source>Engine Heating </source>
        <translation>Aquecimento </translation>
    </message>
    <message>
        <source>Activate Extra Fuel Injection when Engine Running Cold</source>
        <translation>Ativa a injeção extra de combustível com o motor frio</translation>
    </message>
    <message>
        <source>Extra Inject.</source>
        <translation>Injeç. Extra</translation>
    </message>
    <message>
        <source> Extra Fuel Injection on Engine Heating</source>
        <translation> Injeção extra de combustível no aquecimento do motor</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>Max Temp.</source>
        <translation>Temp. Máx.</translation>
    </message>
    <message>
        <source>Max. Engine Temperature of Extra Fuel Injection on Engine Heating</source>
        <translation>Temperatura máxima do motor para a injeção extra no aquecimento</translation>
    </message>
    <message>
        <source>35</source>
        <translation>35</translation>
    </message>
    <message>
        <source>Correction </source>
        <translation>Correção </translation>
    </message>
    <message>
        <source>Max. Correction </source>
        <translation>Correção Máx. </translation>
    </message>
    <message>
        <source>Max. % for automatic correction</source>
        <translation>% máxima da correção automática</translation>
    </message>
    <message>
        <source>50</source>
        <translation>50</translation>
    </message>
    <message>
        <source>Min. Temperature</source>
        <translation>Temp. Mínima</translation>
    </message>
    <message>
        <source>Min. temperature of engine to start automatic correction</source>
        <translation>Temperatura mínima do motor para iniciar a correção automática</translation>
    </message>
    <message>
        <source>Activate Extra Injection on Quick Throtle</source>
        <translation>Ativa a injeção extra na aceleração rápida</translation>
    </message>
    <message>
        <source>Quick Throtle</source>
        <translation>Acel. Rápida</translation>
    </message>
    <message>
        <source>Throtle var. min.</source>
        <translation>Var. mín. acel.</translation>
    </message>
    <message>
        <source>Min. Variation of the fuel injection pulse</source>
        <translation>Variação mínima do pulso de injeção</translation>
    </message>
    <message>
        <source>200</source>
        <translation>200</translation>
    </message>
    <message>
        <source>us </source>
        <translation>us </translation>
    </message>
    <message>
        <source>Extra Time at 20ms </source>
        <translation>Extra a 20ms </translation>
    </message>
    <message>
        <source>% Extra of Fuel Injection on Throtle variation</source>
        <translation>% extra de injeção na variação da aceleração</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>RPM Iddle Adjust.</source>
        <translation>Ajuste Marcha Lenta</translation>
    </message>
    <message>
        <source>Iddle RPM</source>
        <translation>RPM Lenta</translation>
    </message>
    <message>
        <source>600</source>
        <translation>600</translation>
    </message>
    <message>
        <source>RPM</source>
        <translation>RPM</translation>
    </message>
    <message>
        <source>RPM -</source>
        <translation>RPM -</translation>
    </message>
    <message>
        <source>RPM +</source>
        <translation>RPM +</translation>
    </message>
    <message>
        <source>Instant Values </source>
        <translation>Valores Atuais </translation>
    </message>
    <message>
        <source>Actual Correction </source>
        <translation>Correção Atual </translation>
    </message>
    <message>
        <source>Actual Temperature</source>
        <translation>Temperatura Atual</translation>
    </message>
    <message>
        <source>Actual MAP </source>
        <translation>MAP Atual </translation>
    </message>
    <message>
        <source>V </source>
        <translation>V </translation>
    </message>
    <message>
        <source>Actual Lambda</source>
        <translation>Lambda Atual</translation>
    </message>
    <message>
        <source>mV </source>
        <translation>mV </translation>
    </message>
    <message>
        <source>Actual RPM</source>
        <translation>RPM Atual</translation>
    </message>
    <message>
        <source>Fuel Injec. Time</source>
        <translation>Tempo de Injeç.</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>UPM Progr.</source>
        <translation>Progr. UPM</translation>
    </message>
    <message>
        <source>MAP Progr.</source>
        <translation>Progr. MAP</translation>
    </message>
    <message>
        <source>RPM Cal.</source>
        <translation>Cal. RPM</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Sync.</source>
        <translation>Sinc.</translation>
    </message>
    <message>
        <source>Used for low variation oxygen sensor / 1 wire oxygen sensor</source>
        <translation>Para sonda lambda de baixa variação / sonda de 1 fio</translation>
    </message>
    <message>
        <source>Oxygen Sensor Freeze</source>
        <translation>Trava Sonda Lambda</translation>
    </message>
    <message>
        <source>Adjust Time </source>
        <translation>Tempo Ajuste </translation>
    </message>
    <message>
        <source>Time to detect a non variation of the Oxygen Sensor</source>
        <translation>Tempo para detectar que a sonda lambda não varia</translation>
    </message>
    <message>
        <source>s </source>
        <translation>s </translation>
    </message>
    <message>
        <source>Lambda Value </source>
        <translation>Valor Lambda </translation>
    </message>
    <message>
        <source>Oxygen Sensor V mid value </source>
        <translation>Valor médio de tensão da sonda lambda </translation>
    </message>
    <message>
        <source>WideBand Sensor Freeze Correction</source>
        <translation>Trava a correção com sonda banda larga</translation>
    </message>
    <message>
        <source>WideBand Sensor</source>
        <translation>Sonda Banda Larga</translation>
    </message>
    <message>
        <source>Operation  </source>
        <translation>Operação  </translation>
    </message>
    <message>
        <source>COM Config</source>
        <translation>Configurar porta COM</translation>
    </message>
    <message>
        <source>&amp;Config.</source>
        <translation>&amp;Config.</translation>
    </message>
    <message>
        <source>Start Zelk Program</source>
        <translation>Iniciar programação do Zelk</translation>
    </message>
    <message>
        <source>&amp;Program </source>
        <translation>&amp;Programar </translation>
    </message>
    <message>
        <source>Read Zelk Values</source>
        <translation>Ler os valores do Zelk</translation>
    </message>
    <message>
        <source>&amp;Read </source>
        <translation>&amp;Ler </translation>
    </message>
    <message>
        <source>Write Zelk New Values</source>
        <translation>Gravar os novos valores no Zelk</translation>
    </message>
    <message>
        <source>&amp;Write </source>
        <translation>&amp;Gravar </translation>
    </message>
    <message>
        <source>Quit Program</source>
        <translation>Sair do programa</translation>
    </message>
    <message>
        <source>&amp;Quit </source>
        <translation>&amp;Sair </translation>
    </message>
    <message>
        <source>NOTE: SOME VALUES MAY CHANGE AFTER WRITE IN THE ZELK BECAUSE OF DECIMAL PRECISION </source>
        <translation>NOTA: ALGUNS VALORES PODEM MUDAR APÓS GRAVAR NO ZELK DEVIDO À PRECISÃO DECIMAL </translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Unknown error</source>
        <translation>Erro desconhecido</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>Falha</translation>
    </message>
    <message>
        <source>Error Opening Port</source>
        <translation>Erro ao Abrir a Porta</translation>
    </message>
    <message>
        <source>Program OK</source>
        <translation>Programação OK</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programar</translation>
    </message>
</context>
<context>
    <name>Monitor</name>
    <message>
        <source>Idle RPM 0 has no idle period: division by zero</source>
        <translation>RPM de marcha lenta 0 não tem período: divisão por zero</translation>
    </message>
    <message>
        <source>RPM factor 0 gives no idle period: division by zero</source>
        <translation>Fator de RPM 0 não dá período de marcha lenta: divisão por zero</translation>
    </message>
    <message>
        <source>Idle RPM %1 is not valid: it must be above 0</source>
        <translation>RPM de marcha lenta %1 não é válida: deve ser maior que 0</translation>
    </message>
    <message>
        <source>RPM factor %1 is not valid: it must be above 0</source>
        <translation>Fator de RPM %1 não é válido: deve ser maior que 0</translation>
    </message>
    <message>
        <source>Idle RPM %1 is too low: the module&apos;s idle period would be %2, beyond 65535</source>
        <translation>RPM de marcha lenta %1 é baixa demais: o período de marcha lenta do módulo seria %2, acima de 65535</translation>
    </message>
    <message>
        <source>Idle RPM %1 is too high: the module&apos;s idle period would be 0</source>
        <translation>RPM de marcha lenta %1 é alta demais: o período de marcha lenta do módulo seria 0</translation>
    </message>
    <message>
        <source>The min. is 600RPM!</source>
        <translation>O mínimo é 600RPM!</translation>
    </message>
    <message>
        <source>The max. is 1500RPM!</source>
        <translation>O máximo é 1500RPM!</translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation>Atenção!</translation>
    </message>
    <message>
        <source>RPM</source>
        <translation>RPM</translation>
    </message>
    <message>
        <source>1/min</source>
        <translation>1/min</translation>
    </message>
    <message>
        <source>Injection</source>
        <translation>Injeção</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Correction</source>
        <translation>Correção</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatura</translation>
    </message>
    <message>
        <source>MAP</source>
        <translation>MAP</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>Lambda</source>
        <translation>Lambda</translation>
    </message>
    <message>
        <source>mV</source>
        <translation>mV</translation>
    </message>
    <message>
        <source>°C</source>
        <translation>°C</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>não foi possível abrir %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>não foi possível gravar %1</translation>
    </message>
    <message>
        <source>Idle RPM %1 is too low: the module&apos;s idle period would be unbounded, beyond 65535</source>
        <translation>RPM de marcha lenta %1 é baixa demais: o período de marcha lenta do módulo seria ilimitado, acima de 65535</translation>
    </message>
    <message>
        <source>not a log of this program: its first line is not a log&apos;s header</source>
        <translation>não é um registro deste programa: a primeira linha não é o cabeçalho de um registro</translation>
    </message>
    <message>
        <source>not a log of this program: it is empty</source>
        <translation>não é um registro deste programa: está vazio</translation>
    </message>
    <message>
        <source>not a log of this program: column %1 is &quot;%2&quot;, where a log has &quot;%3&quot;</source>
        <translation>não é um registro deste programa: a coluna %1 é &quot;%2&quot;, onde um registro tem &quot;%3&quot;</translation>
    </message>
    <message>
        <source>not a log of this program: %1 columns, where a log has %2 or %3</source>
        <translation>não é um registro deste programa: %1 colunas, onde um registro tem %2 ou %3</translation>
    </message>
    <message>
        <source>line %1: longer than %2 bytes, which no row of a log is</source>
        <translation>linha %1: mais longa que %2 bytes, o que nenhuma linha de registro é</translation>
    </message>
    <message>
        <source>line %1: a quoted cell is not closed, or text follows its closing quote</source>
        <translation>linha %1: uma célula entre aspas não foi fechada, ou há texto depois das aspas finais</translation>
    </message>
    <message>
        <source>line %1: %2 cells, where a row of this log has %3</source>
        <translation>linha %1: %2 células, onde uma linha deste registro tem %3</translation>
    </message>
    <message>
        <source>line %1: status is &quot;%2&quot;, none of %3</source>
        <translation>linha %1: o status é &quot;%2&quot;, nenhum de %3</translation>
    </message>
    <message>
        <source>line %1: %2 is not a number: &quot;%3&quot;</source>
        <translation>linha %1: %2 não é um número: &quot;%3&quot;</translation>
    </message>
    <message>
        <source>line %1: time_s %2 goes back before %3</source>
        <translation>linha %1: time_s %2 volta para antes de %3</translation>
    </message>
    <message>
        <source>line %1: time_s %2 is longer than a log lasts</source>
        <translation>linha %1: time_s %2 é mais longo do que dura um registro</translation>
    </message>
    <message>
        <source>line %1: wall_clock is not a UTC time: &quot;%2&quot;</source>
        <translation>linha %1: wall_clock não é uma hora UTC: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>line %1: raw is not hex bytes: &quot;%2&quot;</source>
        <translation>linha %1: raw não são bytes em hexadecimal: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>line %1: more than %2 rows, more than a log of this program holds</source>
        <translation>linha %1: mais de %2 linhas, mais do que um registro deste programa contém</translation>
    </message>
    <message>
        <source>%1: %2 MB, larger than the %3 MB a log of this program reaches</source>
        <translation>%1: %2 MB, maior que os %3 MB que um registro deste programa alcança</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>não foi possível ler %1</translation>
    </message>
    <message>
        <source>rpm</source>
        <translation>rpm</translation>
    </message>
</context>
<context>
    <name>PortSearch</name>
    <message>
        <source>the module answered, version %1</source>
        <translation>o módulo respondeu, versão %1</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>sem resposta</translation>
    </message>
    <message>
        <source>not asked (cancelled)</source>
        <translation>não perguntada (cancelado)</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Localizar</translation>
    </message>
    <message>
        <source>Asking %1 port(s) for the module&apos;s version...</source>
        <translation>Perguntando a versão do módulo em %1 porta(s)...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Cancelando...</translation>
    </message>
    <message>
        <source>The module answered on %1.</source>
        <translation>O módulo respondeu em %1.</translation>
    </message>
    <message>
        <source>No port answered.</source>
        <translation>Nenhuma porta respondeu.</translation>
    </message>
</context>
<context>
    <name>PreparedSettings</name>
    <message>
        <source>Prepared settings</source>
        <translation>Configurações preparadas</translation>
    </message>
    <message>
        <source>new settings</source>
        <translation>novas configurações</translation>
    </message>
    <message>
        <source>The prepared settings (%1) have changes that are not saved and will be lost. Go on?</source>
        <translation>As configurações preparadas (%1) têm alterações não salvas, que serão perdidas. Continuar?</translation>
    </message>
    <message>
        <source>Prepared, not written: %1</source>
        <translation>Preparadas, não gravadas: %1</translation>
    </message>
    <message>
        <source>Offline: %1</source>
        <translation>Sem módulo: %1</translation>
    </message>
    <message>
        <source>%1, prepared</source>
        <translation>%1, preparadas</translation>
    </message>
    <message>
        <source>%1 was made for module version %2, but the module connected is version %3: its settings may mean something else there. Write them anyway?</source>
        <translation>%1 foi feito para a versão %2 do módulo, mas o módulo conectado é da versão %3: as configurações podem significar outra coisa nele. Gravar mesmo assim?</translation>
    </message>
    <message>
        <source>The window holds settings prepared without a module (%1). Write them to the module, or read the module&apos;s settings in their place?</source>
        <translation>A janela contém configurações preparadas sem módulo (%1). Gravá-las no módulo, ou ler as configurações do módulo no lugar delas?</translation>
    </message>
    <message>
        <source>Their changes are not saved: reading the module&apos;s settings loses them.</source>
        <translation>As alterações delas não estão salvas: ler as configurações do módulo as perde.</translation>
    </message>
    <message>
        <source>&amp;Write prepared</source>
        <translation>&amp;Gravar as preparadas</translation>
    </message>
    <message>
        <source>&amp;Read the module&apos;s</source>
        <translation>&amp;Ler as do módulo</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>ProgramForm</name>
    <message>
        <source>Program Zelk Unit</source>
        <translation>Programar o Módulo Zelk</translation>
    </message>
    <message>
        <source>Program Type </source>
        <translation>Tipo de Programa </translation>
    </message>
    <message>
        <source>Mix Program</source>
        <translation>Prog. Mistura</translation>
    </message>
    <message>
        <source>Reset Program</source>
        <translation>Prog. Reset</translation>
    </message>
    <message>
        <source>RPM/Oxygen Sensor Program</source>
        <translation>Prog. RPM/Sonda Lambda</translation>
    </message>
    <message>
        <source>MAP Program</source>
        <translation>Prog. MAP</translation>
    </message>
    <message>
        <source>Ethanol Porc. </source>
        <translation>Porc. Etanol </translation>
    </message>
    <message>
        <source>0 %</source>
        <translation>0 %</translation>
    </message>
    <message>
        <source>25 %</source>
        <translation>25 %</translation>
    </message>
    <message>
        <source>50 %</source>
        <translation>50 %</translation>
    </message>
    <message>
        <source>75 %</source>
        <translation>75 %</translation>
    </message>
    <message>
        <source>100 %</source>
        <translation>100 %</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>ProgramZelkForm</name>
    <message>
        <source>Programming Zelk</source>
        <translation>Programando o Zelk</translation>
    </message>
    <message>
        <source>Programming</source>
        <translation>Programando</translation>
    </message>
    <message>
        <source>Turn ON Air Conditioning !!</source>
        <translation>LIGUE o Ar-Condicionado !!</translation>
    </message>
    <message>
        <source>Turn Automatic Transmission on DRIVE !!</source>
        <translation>Coloque o Câmbio Automático em DRIVE !!</translation>
    </message>
    <message>
        <source>Actual Temperature</source>
        <translation>Temperatura Atual</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>C </source>
        <translation>C </translation>
    </message>
    <message>
        <source>Actual MAP </source>
        <translation>MAP Atual </translation>
    </message>
    <message>
        <source>V </source>
        <translation>V </translation>
    </message>
    <message>
        <source>Actual Lambda</source>
        <translation>Lambda Atual</translation>
    </message>
    <message>
        <source>mV </source>
        <translation>mV </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>No answer from the module: the program may still be running.</source>
        <translation>O módulo não responde: o programa pode continuar rodando.</translation>
    </message>
</context>
<context>
    <name>Reconnect</name>
    <message>
        <source>%1 is gone: waiting for it to come back</source>
        <translation>%1 sumiu: esperando que volte</translation>
    </message>
    <message>
        <source>The module is back on %1 (version %2): press Read to refresh</source>
        <translation>O módulo voltou em %1 (versão %2): clique em Ler para atualizar</translation>
    </message>
    <message>
        <source>%1 did not come back: press Config.</source>
        <translation>%1 não voltou: clique em Config.</translation>
    </message>
</context>
<context>
    <name>RestorePointsDialog</name>
    <message>
        <source>Restore points</source>
        <translation>Pontos de restauração</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Communication Fail</source>
        <translation>Falha de Comunicação</translation>
    </message>
    <message>
        <source>Invalid COMM Port</source>
        <translation>Porta COM Inválida</translation>
    </message>
    <message>
        <source>no application data folder (%APPDATA% is not set)</source>
        <translation>sem pasta de dados de aplicativos (%APPDATA% não está definido)</translation>
    </message>
    <message>
        <source>%ZELK_DATA_DIR% is not an absolute path</source>
        <translation>%ZELK_DATA_DIR% não é um caminho absoluto</translation>
    </message>
    <message>
        <source>no home folder ($HOME is not set)</source>
        <translation>sem pasta pessoal ($HOME não está definido)</translation>
    </message>
    <message>
        <source>$ZELK_DATA_DIR is not an absolute path</source>
        <translation>$ZELK_DATA_DIR não é um caminho absoluto</translation>
    </message>
    <message>
        <source>cannot make the restore point folder %1: %2</source>
        <translation>não foi possível criar a pasta de pontos de restauração %1: %2</translation>
    </message>
    <message>
        <source>cannot save the restore point %1</source>
        <translation>não foi possível salvar o ponto de restauração %1</translation>
    </message>
    <message>
        <source>cannot save the restore point: too many saved in one millisecond</source>
        <translation>não foi possível salvar o ponto de restauração: muitos salvos no mesmo milissegundo</translation>
    </message>
</context>
<context>
    <name>SettingChanges</name>
    <message>
        <source>on</source>
        <translation>ligado</translation>
    </message>
    <message>
        <source>off</source>
        <translation>desligado</translation>
    </message>
    <message>
        <source>%1: %2 -&gt; %3</source>
        <translation>%1: %2 -&gt; %3</translation>
    </message>
    <message>
        <source>%1: sent %2, the module holds %3</source>
        <translation>%1: enviado %2, o módulo guarda %3</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Incorrect Value!</source>
        <translation>Valor Incorreto!</translation>
    </message>
    <message>
        <source>Error!</source>
        <translation>Erro!</translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation>Atenção!</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; não é um valor inteiro válido</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>&apos;%1&apos; não é um valor decimal válido</translation>
    </message>
    <message>
        <source>Engine Heating </source>
        <translation>Aquecimento </translation>
    </message>
    <message>
        <source>Activate Extra Fuel Injection when Engine Running Cold</source>
        <translation>Ativa a injeção extra de combustível com o motor frio</translation>
    </message>
    <message>
        <source>Oxygen Sensor Freeze</source>
        <translation>Trava Sonda Lambda</translation>
    </message>
    <message>
        <source>Used for low variation oxygen sensor / 1 wire oxygen sensor</source>
        <translation>Para sonda lambda de baixa variação / sonda de 1 fio</translation>
    </message>
    <message>
        <source>Quick Throtle</source>
        <translation>Acel. Rápida</translation>
    </message>
    <message>
        <source>Activate Extra Injection on Quick Throtle</source>
        <translation>Ativa a injeção extra na aceleração rápida</translation>
    </message>
    <message>
        <source>WideBand Sensor</source>
        <translation>Sonda Banda Larga</translation>
    </message>
    <message>
        <source>WideBand Sensor Freeze Correction</source>
        <translation>Trava a correção com sonda banda larga</translation>
    </message>
    <message>
        <source>V </source>
        <translation>V </translation>
    </message>
    <message>
        <source>mV </source>
        <translation>mV </translation>
    </message>
    <message>
        <source>MAP Progr.</source>
        <translation>Progr. MAP</translation>
    </message>
    <message>
        <source>UPM Progr.</source>
        <translation>Progr. UPM</translation>
    </message>
    <message>
        <source>%1 %2 does not fit in the module&apos;s 16-bit field</source>
        <translation>%1 %2 não cabe no campo de 16 bits do módulo</translation>
    </message>
    <message>
        <source>%1 %2 is too high: the module&apos;s count would be %3, beyond 65535</source>
        <translation>%1 %2 é alto demais: a contagem do módulo seria %3, acima de 65535</translation>
    </message>
    <message>
        <source>%1 %2 is too low: the module&apos;s count would be %3, below 0</source>
        <translation>%1 %2 é baixo demais: a contagem do módulo seria %3, abaixo de 0</translation>
    </message>
    <message>
        <source>%1 %2 cannot be stored in the module&apos;s byte</source>
        <translation>%1 %2 não pode ser guardado no byte do módulo</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Injec. Time </source>
        <translation>Tempo Injeç. </translation>
    </message>
    <message>
        <source>ms </source>
        <translation>ms </translation>
    </message>
    <message>
        <source>Time of Cold Start Injection</source>
        <translation>Tempo de injeção da partida a frio</translation>
    </message>
    <message>
        <source>This value must be between 0 and 4000!</source>
        <translation>Este valor deve estar entre 0 e 4000!</translation>
    </message>
    <message>
        <source>Max. Temp.</source>
        <translation>Temp. Máx.</translation>
    </message>
    <message>
        <source>C </source>
        <translation>C </translation>
    </message>
    <message>
        <source>Max. temperature for Cold Start Injection</source>
        <translation>Temperatura máxima para a injeção da partida a frio</translation>
    </message>
    <message>
        <source>This value must be between 15 and 35!</source>
        <translation>Este valor deve estar entre 15 e 35!</translation>
    </message>
    <message>
        <source>Start Mix </source>
        <translation>Mistura Ini. </translation>
    </message>
    <message>
        <source>% </source>
        <translation>% </translation>
    </message>
    <message>
        <source>Porc. of the Mixture of Fuel where Cold Start Enters</source>
        <translation>Porcentagem da mistura de combustível em que entra a partida a frio</translation>
    </message>
    <message>
        <source>This value must be between 10 and Max Correction Value(%)!</source>
        <translation>Este valor deve estar entre 10 e o Valor de Correção Máx.(%)!</translation>
    </message>
    <message>
        <source>Extra Inject.</source>
        <translation>Injeç. Extra</translation>
    </message>
    <message>
        <source> Extra Fuel Injection on Engine Heating</source>
        <translation> Injeção extra de combustível no aquecimento do motor</translation>
    </message>
    <message>
        <source>This value must be between 0 and 10!</source>
        <translation>Este valor deve estar entre 0 e 10!</translation>
    </message>
    <message>
        <source>Max Temp.</source>
        <translation>Temp. Máx.</translation>
    </message>
    <message>
        <source>Max. Engine Temperature of Extra Fuel Injection on Engine Heating</source>
        <translation>Temperatura máxima do motor para a injeção extra no aquecimento</translation>
    </message>
    <message>
        <source>This value must be between 35 and 60!</source>
        <translation>Este valor deve estar entre 35 e 60!</translation>
    </message>
    <message>
        <source>Max. Correction </source>
        <translation>Correção Máx. </translation>
    </message>
    <message>
        <source>Max. % for automatic correction</source>
        <translation>% máxima da correção automática</translation>
    </message>
    <message>
        <source>This value must be between 10 and 50!</source>
        <translation>Este valor deve estar entre 10 e 50!</translation>
    </message>
    <message>
        <source>Min. Temperature</source>
        <translation>Temp. Mínima</translation>
    </message>
    <message>
        <source>Min. temperature of engine to start automatic correction</source>
        <translation>Temperatura mínima do motor para iniciar a correção automática</translation>
    </message>
    <message>
        <source>This value must be between 0 and 100!</source>
        <translation>Este valor deve estar entre 0 e 100!</translation>
    </message>
    <message>
        <source>Adjust Time </source>
        <translation>Tempo Ajuste </translation>
    </message>
    <message>
        <source>s </source>
        <translation>s </translation>
    </message>
    <message>
        <source>Time to detect a non variation of the Oxygen Sensor</source>
        <translation>Tempo para detectar que a sonda lambda não varia</translation>
    </message>
    <message>
        <source>Lambda Value </source>
        <translation>Valor Lambda </translation>
    </message>
    <message>
        <source>Oxygen Sensor V mid value </source>
        <translation>Valor médio de tensão da sonda lambda </translation>
    </message>
    <message>
        <source>This value must be between 0 and 1000!</source>
        <translation>Este valor deve estar entre 0 e 1000!</translation>
    </message>
    <message>
        <source>Throtle var. min.</source>
        <translation>Var. mín. acel.</translation>
    </message>
    <message>
        <source>us </source>
        <translation>us </translation>
    </message>
    <message>
        <source>Min. Variation of the fuel injection pulse</source>
        <translation>Variação mínima do pulso de injeção</translation>
    </message>
    <message>
        <source>This value must be between 200 and 15000!</source>
        <translation>Este valor deve estar entre 200 e 15000!</translation>
    </message>
    <message>
        <source>Extra Time at 20ms </source>
        <translation>Extra a 20ms </translation>
    </message>
    <message>
        <source>% Extra of Fuel Injection on Throtle variation</source>
        <translation>% extra de injeção na variação da aceleração</translation>
    </message>
    <message>
        <source>This value must be between 0 and 20!</source>
        <translation>Este valor deve estar entre 0 e 20!</translation>
    </message>
    <message>
        <source>A comma is expected as the decimal separator: %1</source>
        <translation>Use vírgula como separador decimal: %1</translation>
    </message>
    <message>
        <source>A point is expected as the decimal separator: %1</source>
        <translation>Use ponto como separador decimal: %1</translation>
    </message>
    <message>
        <source>%1
%2</source>
        <translation>%1
%2</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>not a settings file: %1</source>
        <translation>não é um arquivo de configurações: %1</translation>
    </message>
    <message>
        <source>format_version %1 is not valid</source>
        <translation>format_version %1 não é válido</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a text</source>
        <translation>&quot;%1&quot; deve ser um texto</translation>
    </message>
    <message>
        <source>an object with more than %1 members</source>
        <translation>um objeto com mais de %1 membros</translation>
    </message>
    <message>
        <source>the key &quot;%1&quot; is given twice</source>
        <translation>a chave &quot;%1&quot; aparece duas vezes</translation>
    </message>
    <message>
        <source>nested more than %1 levels deep</source>
        <translation>aninhado em mais de %1 níveis</translation>
    </message>
    <message>
        <source>the file is not a JSON object</source>
        <translation>o arquivo não é um objeto JSON</translation>
    </message>
    <message>
        <source>it has no &quot;format&quot;</source>
        <translation>não tem &quot;format&quot;</translation>
    </message>
    <message>
        <source>another format: %1 is not &quot;%2&quot;</source>
        <translation>outro formato: %1 não é &quot;%2&quot;</translation>
    </message>
    <message>
        <source>the file has no &quot;format_version&quot;</source>
        <translation>o arquivo não tem &quot;format_version&quot;</translation>
    </message>
    <message>
        <source>&quot;format_version&quot; must be a whole number</source>
        <translation>&quot;format_version&quot; deve ser um número inteiro</translation>
    </message>
    <message>
        <source>format_version %1 is newer than this program reads (up to %2)</source>
        <translation>format_version %1 é mais novo do que este programa lê (até %2)</translation>
    </message>
    <message>
        <source>reason %1 is not one of %2</source>
        <translation>o motivo %1 não é um de %2</translation>
    </message>
    <message>
        <source>&quot;block&quot; must be a text of 50 hex digits</source>
        <translation>&quot;block&quot; deve ser um texto de 50 dígitos hexadecimais</translation>
    </message>
    <message>
        <source>the block must be 50 hex digits; it has %1 characters</source>
        <translation>o bloco deve ter 50 dígitos hexadecimais; tem %1 caracteres</translation>
    </message>
    <message>
        <source>the block must be 50 hex digits; character %1 is not one</source>
        <translation>o bloco deve ter 50 dígitos hexadecimais; o caractere %1 não é um deles</translation>
    </message>
    <message>
        <source>the file has neither a block nor settings</source>
        <translation>o arquivo não tem nem bloco nem configurações</translation>
    </message>
    <message>
        <source>&quot;settings&quot; must be a JSON object</source>
        <translation>&quot;settings&quot; deve ser um objeto JSON</translation>
    </message>
    <message>
        <source>unknown setting &quot;%1&quot;</source>
        <translation>configuração desconhecida &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 must be true or false, not %2</source>
        <translation>%1 deve ser true ou false, não %2</translation>
    </message>
    <message>
        <source>%1 must be a number, not %2</source>
        <translation>%1 deve ser um número, não %2</translation>
    </message>
    <message>
        <source>%1 is %2 in the file, but its block holds %3</source>
        <translation>%1 é %2 no arquivo, mas o bloco dele guarda %3</translation>
    </message>
    <message>
        <source>a NUL byte at byte %1</source>
        <translation>um byte NUL no byte %1</translation>
    </message>
    <message>
        <source>not JSON (error at byte %1)</source>
        <translation>não é JSON (erro no byte %1)</translation>
    </message>
    <message>
        <source>a number too large to read</source>
        <translation>um número grande demais para ler</translation>
    </message>
    <message>
        <source>%1: is a folder</source>
        <translation>%1: é uma pasta</translation>
    </message>
    <message>
        <source>%1: cannot be opened</source>
        <translation>%1: não pode ser aberto</translation>
    </message>
    <message>
        <source>%1: larger than %2 bytes</source>
        <translation>%1: maior que %2 bytes</translation>
    </message>
    <message>
        <source>%1: read error</source>
        <translation>%1: erro de leitura</translation>
    </message>
    <message>
        <source>%1: is not a regular file</source>
        <translation>%1: não é um arquivo comum</translation>
    </message>
    <message>
        <source>system error %1</source>
        <translation>erro do sistema %1</translation>
    </message>
    <message>
        <source>RPM</source>
        <translation>RPM</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not NAME=VALUE</source>
        <translation>&apos;%1&apos; não é NOME=VALOR</translation>
    </message>
    <message>
        <source>unknown setting &apos;%1&apos;</source>
        <translation>configuração desconhecida &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 given more than once</source>
        <translation>%1 dado mais de uma vez</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not true or false</source>
        <translation>%1: &apos;%2&apos; não é true nem false</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not a number</source>
        <translation>%1: &apos;%2&apos; não é um número</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A setting&apos;s name in the file and what is wrong with its value.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 is not a whole number</source>
        <translation>%1 não é um número inteiro</translation>
    </message>
    <message>
        <source>%1 (%2) is %3, outside its range %4 to %5</source>
        <extracomment>A setting&apos;s caption, its name in a settings file, its value and its range.</extracomment>
        <translation>%1 (%2) está em %3, fora da faixa de %4 a %5</translation>
    </message>
    <message>
        <source>Idle RPM</source>
        <translation>RPM de marcha lenta</translation>
    </message>
    <message>
        <source>a backup</source>
        <translation>uma cópia de segurança</translation>
    </message>
    <message>
        <source>saved from the window</source>
        <translation>salvo pela janela</translation>
    </message>
    <message>
        <source>before a write</source>
        <translation>antes de uma gravação</translation>
    </message>
    <message>
        <source>before a restore</source>
        <translation>antes de uma restauração</translation>
    </message>
    <message>
        <source>before a set</source>
        <translation>antes de um ajuste</translation>
    </message>
    <message>
        <source>as read</source>
        <translation>como lido</translation>
    </message>
    <message>
        <source>before a program</source>
        <translation>antes de um programa</translation>
    </message>
    <message>
        <source>prepared without a module</source>
        <translation>preparadas sem módulo</translation>
    </message>
    <message>
        <source>before writing prepared settings</source>
        <translation>antes de gravar configurações preparadas</translation>
    </message>
    <message>
        <source>before commissioning</source>
        <translation>antes do comissionamento</translation>
    </message>
</context>
<context>
    <name>SettingsFiles</name>
    <message>
        <source>Zelk settings (*.zelk)</source>
        <translation>Configurações Zelk (*.zelk)</translation>
    </message>
    <message>
        <source>%1 was refused: %2</source>
        <translation>%1 foi recusado: %2</translation>
    </message>
    <message>
        <source>Idle RPM</source>
        <translation>RPM de marcha lenta</translation>
    </message>
    <message>
        <source>No restore point could be saved, so nothing was written: %1</source>
        <translation>Nenhum ponto de restauração pôde ser salvo, então nada foi gravado: %1</translation>
    </message>
    <message>
        <source>Open settings</source>
        <translation>Abrir configurações</translation>
    </message>
    <message>
        <source>Save settings</source>
        <translation>Salvar configurações</translation>
    </message>
    <message>
        <source>Settings saved to %1</source>
        <translation>Configurações salvas em %1</translation>
    </message>
    <message>
        <source>Compare with file</source>
        <translation>Comparar com arquivo</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Configuração</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Janela</translation>
    </message>
    <message>
        <source>(not in the file)</source>
        <translation>(não está no arquivo)</translation>
    </message>
    <message>
        <source>The window&apos;s settings and %1 agree.</source>
        <translation>As configurações da janela e %1 são iguais.</translation>
    </message>
    <message>
        <source>%1 setting(s) differ, marked.</source>
        <translation>%1 configuração(ões) diferente(s), marcada(s).</translation>
    </message>
    <message>
        <source>Restore from file</source>
        <translation>Restaurar de arquivo</translation>
    </message>
    <message>
        <source>Write the settings of %1 to the module?
%2 setting(s) differ from what the module holds.</source>
        <translation>Gravar no módulo as configurações de %1?
%2 configuração(ões) diferente(s) do que o módulo guarda.</translation>
    </message>
    <message>
        <source>The module does not hold the settings of %1: what it reads back differs.</source>
        <translation>O módulo não guarda as configurações de %1: o que foi lido de volta é diferente.</translation>
    </message>
    <message>
        <source>The module now holds the settings of %1.</source>
        <translation>O módulo agora guarda as configurações de %1.</translation>
    </message>
    <message>
        <source>Restore points</source>
        <translation>Pontos de restauração</translation>
    </message>
    <message>
        <source>Saved before each write, newest first, in %1</source>
        <translation>Salvos antes de cada gravação, os mais novos primeiro, em %1</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Module version</source>
        <translation>Versão do módulo</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message>
        <source>Differences</source>
        <translation>Diferenças</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurar</translation>
    </message>
    <message>
        <source>%1 holds settings outside the ranges the window accepts:
%2
Use them anyway?</source>
        <translation>%1 contém ajustes fora das faixas que a janela aceita:
%2
Usá-los assim mesmo?</translation>
    </message>
    <message>
        <source>Restore chosen settings</source>
        <translation>Restaurar as escolhidas</translation>
    </message>
    <message>
        <source>&amp;Assign to vehicle...</source>
        <translation>&amp;Atribuir a um veículo...</translation>
    </message>
</context>
<context>
    <name>VehicleEditDialog</name>
    <message>
        <source>Vehicle</source>
        <translation>Veículo</translation>
    </message>
    <message>
        <source>&amp;Plate or name:</source>
        <translation>&amp;Placa ou nome:</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>&amp;Descrição:</translation>
    </message>
    <message>
        <source>Make, model, year, engine</source>
        <translation>Marca, modelo, ano, motor</translation>
    </message>
    <message>
        <source>&amp;Customer:</source>
        <translation>&amp;Cliente:</translation>
    </message>
    <message>
        <source>P&amp;hone:</source>
        <translation>&amp;Telefone:</translation>
    </message>
    <message>
        <source>&amp;Notes:</source>
        <translation>&amp;Observações:</translation>
    </message>
</context>
<context>
    <name>VehicleTimeline</name>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Nota</translation>
    </message>
    <message>
        <source>Program run</source>
        <translation>Programa</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>Damaged: %1</source>
        <translation>Danificado: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>&amp;Compare with the window</source>
        <translation>&amp;Comparar com a janela</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurar</translation>
    </message>
    <message>
        <source>Restore c&amp;hosen settings...</source>
        <translation>Restaurar as &amp;escolhidas...</translation>
    </message>
    <message>
        <source>&amp;Open settings file</source>
        <translation>&amp;Abrir configurações</translation>
    </message>
    <message>
        <source>Open &amp;log</source>
        <translation>Abrir re&amp;gistro</translation>
    </message>
    <message>
        <source>Vehicle history</source>
        <translation>Histórico do veículo</translation>
    </message>
    <message>
        <source>%1: every record, newest first</source>
        <translation>%1: todos os registros, do mais recente ao mais antigo</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>What</source>
        <translation>O quê</translation>
    </message>
    <message>
        <source>&amp;Edit offline</source>
        <translation>&amp;Editar sem módulo</translation>
    </message>
    <message>
        <source>Commissioning</source>
        <translation>Comissionamento</translation>
    </message>
    <message>
        <source>Customer report</source>
        <translation>Relatório ao cliente</translation>
    </message>
    <message>
        <source>%1: %2: %3</source>
        <translation>%1: %2: %3</translation>
    </message>
    <message>
        <source>Open re&amp;port</source>
        <translation>Abrir re&amp;latório</translation>
    </message>
</context>
<context>
    <name>Vehicles</name>
    <message>
        <source>Vehicles</source>
        <translation>Veículos</translation>
    </message>
    <message>
        <source>%1 restore point(s) moved to %2.</source>
        <translation>%1 ponto(s) de restauração levado(s) para %2.</translation>
    </message>
    <message>
        <source>No vehicle %1 is recorded.</source>
        <translation>Nenhum veículo %1 está cadastrado.</translation>
    </message>
    <message>
        <source>Vehicle: %1</source>
        <translation>Veículo: %1</translation>
    </message>
    <message>
        <source>Add note</source>
        <translation>Adicionar nota</translation>
    </message>
    <message>
        <source>Note for %1:</source>
        <translation>Nota para %1:</translation>
    </message>
    <message>
        <source>Data folder</source>
        <translation>Pasta de dados</translation>
    </message>
    <message>
        <source>not an absolute path</source>
        <translation>não é um caminho absoluto</translation>
    </message>
    <message>
        <source>%1 cannot keep the records: %2</source>
        <translation>%1 não pode guardar os registros: %2</translation>
    </message>
    <message>
        <source>Data folder: %1</source>
        <translation>Pasta de dados: %1</translation>
    </message>
    <message>
        <source>The module&apos;s settings differ from %1&apos;s last record in %2 settings</source>
        <translation>As configurações do módulo diferem do último registro de %1 em %2 configurações</translation>
    </message>
    <message>
        <source>This could not be kept in %1&apos;s history: %2</source>
        <translation>Isto não pôde ser guardado no histórico de %1: %2</translation>
    </message>
    <message>
        <source>A vehicle %1 is already recorded.</source>
        <translation>Já existe um veículo %1 cadastrado.</translation>
    </message>
    <message>
        <source>The vehicle %1 is no longer recorded.</source>
        <translation>O veículo %1 não está mais cadastrado.</translation>
    </message>
    <message>
        <source>The vehicle could not be saved: %1</source>
        <translation>O veículo não pôde ser salvo: %1</translation>
    </message>
    <message>
        <source>Damaged: %1</source>
        <translation>Danificado: %1</translation>
    </message>
    <message>
        <source>A plate or name has 1 to 32 characters: letters, digits, spaces, hyphens and dots, and is not &quot;.&quot; or &quot;..&quot;.</source>
        <translation>Uma placa ou nome tem de 1 a 32 caracteres: letras, dígitos, espaços, hífens e pontos, e não é &quot;.&quot; nem &quot;..&quot;.</translation>
    </message>
</context>
<context>
    <name>VehiclesDialog</name>
    <message>
        <source>Vehicles</source>
        <translation>Veículos</translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation>&amp;Buscar:</translation>
    </message>
    <message>
        <source>Plate, description or customer</source>
        <translation>Placa, descrição ou cliente</translation>
    </message>
    <message>
        <source>Plate or name</source>
        <translation>Placa ou nome</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Descrição</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>Cliente</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefone</translation>
    </message>
    <message>
        <source>Last activity</source>
        <translation>Última atividade</translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Novo...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>&amp;Editar...</translation>
    </message>
    <message>
        <source>C&amp;hoose</source>
        <translation>Es&amp;colher</translation>
    </message>
</context>
<context>
    <name>WorkshopDialog</name>
    <message>
        <source>Workshop</source>
        <translation>Oficina</translation>
    </message>
    <message>
        <source>The customer&apos;s report names the workshop and the technician as entered here.</source>
        <translation>O relatório ao cliente mostra a oficina e o técnico como informados aqui.</translation>
    </message>
    <message>
        <source>Workshop:</source>
        <translation>Oficina:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Endereço:</translation>
    </message>
    <message>
        <source>Phone:</source>
        <translation>Telefone:</translation>
    </message>
    <message>
        <source>Technician:</source>
        <translation>Técnico:</translation>
    </message>
</context>
<context>
    <name>zelk::ChartWindow</name>
    <message>
        <source>Time (s)</source>
        <translation>Tempo (s)</translation>
    </message>
    <message>
        <source>The chart&apos;s window is from %1 s to %2 s.</source>
        <translation>A janela do gráfico vai de %1 s a %2 s.</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Continuar</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pausar</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Não foi possível gravar %1: %2</translation>
    </message>
    <message>
        <source>Cannot make a PNG image of the chart.</source>
        <translation>Não foi possível gerar a imagem PNG do gráfico.</translation>
    </message>
    <message>
        <source>Export the chart as PNG</source>
        <translation>Exportar o gráfico como PNG</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>Imagens PNG (*.png)</translation>
    </message>
    <message>
        <source>Export the chart as CSV</source>
        <translation>Exportar o gráfico como CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Arquivos CSV (*.csv)</translation>
    </message>
</context>
<context>
    <name>zelk::CommissioningWizard</name>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Agora</translation>
    </message>
    <message>
        <source>Lowest</source>
        <translation>Menor</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Maior</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Configuração</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Cópia de segurança</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Módulo</translation>
    </message>
    <message>
        <source>To write</source>
        <translation>A gravar</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unidade</translation>
    </message>
    <message>
        <source>none chosen</source>
        <translation>nenhum escolhido</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>não conectado</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Concluir</translation>
    </message>
    <message>
        <source>&amp;Repeat</source>
        <translation>&amp;Repetir</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>&amp;Executar</translation>
    </message>
    <message>
        <source>Choose or create the vehicle first: the commissioning goes into its records.</source>
        <translation>Escolha ou cadastre o veículo primeiro: o comissionamento vai para os registros dele.</translation>
    </message>
    <message>
        <source>The step&apos;s result could not be kept in the vehicle&apos;s records: %1</source>
        <translation>O resultado da etapa não pôde ser guardado nos registros do veículo: %1</translation>
    </message>
    <message>
        <source>Why is &quot;%1&quot; skipped?</source>
        <translation>Por que &quot;%1&quot; foi pulada?</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Pular</translation>
    </message>
    <message>
        <source>A step is skipped only with a reason.</source>
        <translation>Uma etapa só é pulada com um motivo.</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Cancelada</translation>
    </message>
    <message>
        <source>Commissioning cancelled. The module is as the step &quot;%1&quot; left it.</source>
        <translation>Comissionamento cancelado. O módulo está como a etapa &quot;%1&quot; o deixou.</translation>
    </message>
    <message>
        <source>Commissioning cancelled before any step was completed: the module is as it was.</source>
        <translation>Comissionamento cancelado antes de concluir qualquer etapa: o módulo está como estava.</translation>
    </message>
    <message>
        <source>Read the module first (step 1): the check counts the crossings of its &quot;Lambda Value&quot; setting.</source>
        <translation>Leia o módulo primeiro (etapa 1): a verificação conta os cruzamentos da configuração &quot;Valor Lambda&quot; dele.</translation>
    </message>
    <message>
        <source>%1 s watched, %2 answers, %3 without an answer (at least %4 s)</source>
        <translation>%1 s acompanhados, %2 respostas, %3 sem resposta (no mínimo %4 s)</translation>
    </message>
    <message>
        <source>The check runs at least %1 s.</source>
        <translation>A verificação dura no mínimo %1 s.</translation>
    </message>
    <message>
        <source>Give the reason why &quot;%1&quot; is not ticked.</source>
        <translation>Informe por que &quot;%1&quot; não está marcada.</translation>
    </message>
    <message>
        <source>%1 answers over %2 s; the lambda voltage crossed %3 times.</source>
        <translation>%1 respostas em %2 s; a tensão da sonda lambda cruzou %3 vezes.</translation>
    </message>
    <message>
        <source>The idle RPM must be a whole number from %1 to %2.</source>
        <translation>A RPM de marcha lenta deve ser um número inteiro de %1 a %2.</translation>
    </message>
    <message>
        <source>Read the module first (step 1).</source>
        <translation>Leia o módulo primeiro (etapa 1).</translation>
    </message>
</context>
<context>
    <name>zelk::LogPanels</name>
    <message>
        <source>Time since the start (h:mm:ss)</source>
        <translation>Tempo desde o início (h:mm:ss)</translation>
    </message>
</context>
<context>
    <name>zelk::LogReviewWindow</name>
    <message>
        <source>%1 cannot be opened as a log: %2</source>
        <translation>%1 não pode ser aberto como registro: %2</translation>
    </message>
    <message>
        <source>Log review</source>
        <translation>Revisão de registro</translation>
    </message>
    <message>
        <source>Programable Zelk: log %1 with %2</source>
        <translation>Programable Zelk: registro %1 com %2</translation>
    </message>
    <message>
        <source>Programable Zelk: log %1</source>
        <translation>Programable Zelk: registro %1</translation>
    </message>
    <message>
        <source>their starts</source>
        <translation>os inícios</translation>
    </message>
    <message>
        <source>markers</source>
        <translation>marcas</translation>
    </message>
    <message>
        <source>The end of %1 was cut (the program or the computer stopped while logging): every complete row is shown.</source>
        <translation>O fim de %1 foi cortado (o programa ou o computador parou durante o registro): todas as linhas completas são mostradas.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Não foi possível gravar %1: %2</translation>
    </message>
    <message>
        <source>Cannot make a PNG image of the log.</source>
        <translation>Não foi possível gerar a imagem PNG do registro.</translation>
    </message>
    <message>
        <source>Cannot make a PDF document of the log.</source>
        <translation>Não foi possível gerar o documento PDF do registro.</translation>
    </message>
    <message>
        <source>Open a log</source>
        <translation>Abrir um registro</translation>
    </message>
    <message>
        <source>Logs (*.csv);;All files (*)</source>
        <translation>Registros (*.csv);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Lay a log over this one</source>
        <translation>Sobrepor um registro a este</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>Imagens PNG (*.png)</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>Documentos PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Export what is shown</source>
        <translation>Exportar o que está à vista</translation>
    </message>
    <message>
        <source>Export for a spreadsheet</source>
        <translation>Exportar para planilha</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Arquivos CSV (*.csv)</translation>
    </message>
</context>
<context>
    <name>zelk::TForm2</name>
    <message>
        <source>Version</source>
        <translation>Versão</translation>
    </message>
    <message>
        <source>%1 (absent)</source>
        <translation>%1 (ausente)</translation>
    </message>
</context>
<context>
    <name>zelk::TMainForm</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Arquivo</translation>
    </message>
    <message>
        <source>&amp;Open settings...</source>
        <translation>&amp;Abrir configurações...</translation>
    </message>
    <message>
        <source>Open settings</source>
        <translation>Abrir configurações</translation>
    </message>
    <message>
        <source>&amp;Save settings...</source>
        <translation>Sal&amp;var configurações...</translation>
    </message>
    <message>
        <source>Save settings</source>
        <translation>Salvar configurações</translation>
    </message>
    <message>
        <source>&amp;Compare with file...</source>
        <translation>&amp;Comparar com arquivo...</translation>
    </message>
    <message>
        <source>Compare with file</source>
        <translation>Comparar com arquivo</translation>
    </message>
    <message>
        <source>&amp;Restore from file...</source>
        <translation>&amp;Restaurar de arquivo...</translation>
    </message>
    <message>
        <source>Restore from file</source>
        <translation>Restaurar de arquivo</translation>
    </message>
    <message>
        <source>Restore &amp;points...</source>
        <translation>&amp;Pontos de restauração...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>&amp;Log</source>
        <translation>&amp;Registro</translation>
    </message>
    <message>
        <source>&amp;Start log...</source>
        <translation>&amp;Iniciar registro...</translation>
    </message>
    <message>
        <source>S&amp;top log</source>
        <translation>&amp;Parar registro</translation>
    </message>
    <message>
        <source>&amp;Poll rate</source>
        <translation>&amp;Taxa de leitura</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Exibir</translation>
    </message>
    <message>
        <source>Live &amp;chart</source>
        <translation>&amp;Gráfico ao vivo</translation>
    </message>
    <message>
        <source>Start a log</source>
        <translation>Iniciar um registro</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Arquivos CSV (*.csv)</translation>
    </message>
    <message>
        <source>The log was not started: %1</source>
        <translation>O registro não foi iniciado: %1</translation>
    </message>
    <message>
        <source>The log %1 is not complete: the disk refused a write.</source>
        <translation>O registro %1 está incompleto: o disco recusou uma gravação.</translation>
    </message>
    <message>
        <source>The log %1 was stopped: the disk refused a write.</source>
        <translation>O registro %1 foi parado: o disco recusou uma gravação.</translation>
    </message>
    <message>
        <source>Logging to %1: %2 rows, %3</source>
        <translation>Registrando em %1: %2 linhas, %3</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aj&amp;uda</translation>
    </message>
    <message>
        <source>&amp;User guide</source>
        <translation>&amp;Guia do usuário</translation>
    </message>
    <message>
        <source>&amp;About Programable Zelk</source>
        <translation>&amp;Sobre o Programable Zelk</translation>
    </message>
    <message>
        <source>Confirm Program Data !!!!</source>
        <translation>Confirma Gravar os Dados !!!!</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Atenção</translation>
    </message>
    <message numerus="yes">
        <source>%n changed setting(s) have not been written to the module and will be lost. Go on?</source>
        <translation>
            <numerusform>%n ajuste alterado não foi gravado no módulo e será perdido. Continuar?</numerusform>
            <numerusform>%n ajustes alterados não foram gravados no módulo e serão perdidos. Continuar?</numerusform>
        </translation>
    </message>
    <message>
        <source>Quibrane - Programable Zelk v %1</source>
        <translation>Quibrane - Programable Zelk v %1</translation>
    </message>
    <message>
        <source>&amp;Data folder...</source>
        <translation>Pasta de &amp;dados...</translation>
    </message>
    <message>
        <source>V&amp;ehicle</source>
        <translation>&amp;Veículo</translation>
    </message>
    <message>
        <source>&amp;Vehicles...</source>
        <translation>&amp;Veículos...</translation>
    </message>
    <message>
        <source>Add &amp;note...</source>
        <translation>Adicionar n&amp;ota...</translation>
    </message>
    <message>
        <source>&amp;Timeline...</source>
        <translation>&amp;Linha do tempo...</translation>
    </message>
    <message>
        <source>N&amp;o vehicle</source>
        <translation>&amp;Nenhum veículo</translation>
    </message>
    <message>
        <source>&amp;New settings</source>
        <translation>&amp;Novas configurações</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>&amp;Mark...</source>
        <translation>&amp;Marcar...</translation>
    </message>
    <message>
        <source>Open &amp;log...</source>
        <translation>Abrir re&amp;gistro...</translation>
    </message>
    <message>
        <source>Open log</source>
        <translation>Abrir registro</translation>
    </message>
    <message>
        <source>A marker goes into the running log and the live chart: start one of them first.</source>
        <translation>Uma marca vai para o registro em andamento e para o gráfico ao vivo: inicie um deles antes.</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Marcar</translation>
    </message>
    <message>
        <source>Marker text (may be empty):</source>
        <translation>Texto da marca (pode ficar vazio):</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Ferramentas</translation>
    </message>
    <message>
        <source>&amp;Commissioning...</source>
        <translation>&amp;Comissionamento...</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Opções</translation>
    </message>
    <message>
        <source>&amp;Workshop...</source>
        <translation>&amp;Oficina...</translation>
    </message>
    <message>
        <source>C&amp;ustomer report...</source>
        <translation>Relatório ao c&amp;liente...</translation>
    </message>
    <message>
        <source>Commissioning</source>
        <translation>Comissionamento</translation>
    </message>
    <message>
        <source>Version %1; the settings were not read.</source>
        <translation>Versão %1; as configurações não foram lidas.</translation>
    </message>
    <message>
        <source>Module version %1 on %2; settings read.</source>
        <translation>Módulo versão %1 em %2; configurações lidas.</translation>
    </message>
    <message>
        <source>The module did not answer: nothing was kept.</source>
        <translation>O módulo não respondeu: nada foi guardado.</translation>
    </message>
    <message>
        <source>No restore point could be kept.</source>
        <translation>Nenhum ponto de restauração pôde ser guardado.</translation>
    </message>
    <message>
        <source>The module&apos;s settings are kept as the restore point &quot;before-commissioning&quot;.</source>
        <translation>As configurações do módulo estão guardadas como o ponto de restauração &quot;before-commissioning&quot;.</translation>
    </message>
    <message>
        <source>The module stopped answering: the program may not have ended.</source>
        <translation>O módulo parou de responder: o programa pode não ter terminado.</translation>
    </message>
    <message>
        <source>Aborted: the program did not end.</source>
        <translation>Interrompido: o programa não terminou.</translation>
    </message>
    <message>
        <source>The program ended.</source>
        <translation>O programa terminou.</translation>
    </message>
    <message>
        <source>Nothing to change: the module keeps its settings.</source>
        <translation>Nada a alterar: o módulo mantém as configurações.</translation>
    </message>
    <message>
        <source>Written, read back and verified.</source>
        <translation>Gravadas, lidas de volta e conferidas.</translation>
    </message>
    <message>
        <source>Written, but the module reads back other settings.</source>
        <translation>Gravadas, mas o módulo devolve outras configurações.</translation>
    </message>
    <message>
        <source>Nothing was written: no restore point could be kept.</source>
        <translation>Nada foi gravado: nenhum ponto de restauração pôde ser guardado.</translation>
    </message>
    <message>
        <source>The write or its read back was not answered.</source>
        <translation>A gravação ou a leitura de volta não foi respondida.</translation>
    </message>
    <message>
        <source>The report could not be kept.</source>
        <translation>O relatório não pôde ser guardado.</translation>
    </message>
</context>
<context>
    <name>zelk::TProgramForm</name>
    <message>
        <source>Confirm Program Zelk !!!!</source>
        <translation>Confirma Programar o Zelk !!!!</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Atenção</translation>
    </message>
    <message>
        <source>RPM/Lambda Programming</source>
        <translation>Programação RPM/Lambda</translation>
    </message>
    <message>
        <source>MAP Sensor Programming</source>
        <translation>Programação do Sensor MAP</translation>
    </message>
</context>
<context>
    <name>zelk::TProgramZelkForm</name>
    <message>
        <source>Programming Completed!</source>
        <translation>Programação Concluída!</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Concluído</translation>
    </message>
    <message>
        <source>Programming Aborted!</source>
        <translation>Programação Cancelada!</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>The abort did not reach the module: it may still be running the program.</source>
        <translation>A interrupção não chegou ao módulo: ele pode continuar rodando o programa.</translation>
    </message>
</context>
</TS>
