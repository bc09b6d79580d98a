<?xml version="1.0" encoding="UTF-8"?>
<!--
  Шаблон HTML-отчёта atmocalc. Читает документ отчёта:
    root (@date_created, @prog_version, @convergence)
      settings (@stdConditions, @pressGrad, @pressAn)
      files/row (@number, @fileName, @sample, @date, @cartridge, @type, @mixture)
      results/row (@name, @value)
      messages/row (@msg_str)
  Каждое значение выводится только через xsl:value-of или {...} с обычным экранированием;
  внутри элементов style и script значений нет никогда.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes" doctype-system="about:legacy-compat"/>

  <xsl:template match="/">
    <xsl:apply-templates select="root"/>
  </xsl:template>

  <xsl:template match="root">
    <html lang="ru">
      <head>
        <meta http-equiv="Content-Security-Policy"
              content="default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'"/>
        <meta name="viewport" content="width=device-width, initial-scale=1"/>
        <title>Результаты расчёта — ПНД Ф 13.1:2:3.25-99</title>
        <style>
          @page { size: A4 portrait; margin: 15mm 12mm 16mm 18mm; }
          html { font-family: "PT Serif", "Liberation Serif", "Times New Roman", serif; font-size: 11pt;
                 color: #111; background: #fff; }
          body { max-width: 190mm; margin: 0 auto; padding: 10mm 6mm; line-height: 1.35; }
          header { border-bottom: 1.5pt solid #1f3a5f; padding-bottom: 3mm; margin-bottom: 5mm; }
          h1 { font-size: 15pt; margin: 0 0 1.5mm; color: #1f3a5f; }
          .method { margin: 0 0 2.5mm; font-size: 10.5pt; }
          .facts { margin: 0; display: grid; grid-template-columns: max-content 1fr; gap: 0.8mm 4mm;
                   font-size: 10pt; }
          .facts dt { color: #555; }
          .facts dd { margin: 0; }
          h2 { font-size: 12.5pt; margin: 6mm 0 2mm; color: #1f3a5f; break-after: avoid;
               page-break-after: avoid; }
          table { width: 100%; border-collapse: collapse; margin: 0 0 2mm; }
          th, td { border: 0.6pt solid #8a96a3; padding: 1.2mm 2mm; text-align: left; vertical-align: top;
                   overflow-wrap: anywhere; }
          th { background: #e9eef4; font-weight: bold; }
          thead { display: table-header-group; }
          tr { break-inside: avoid; page-break-inside: avoid; }
          table.files { font-size: 9pt; }
          table.settings th { width: 55%; background: none; font-weight: normal; }
          .number { text-align: right; white-space: nowrap; width: 1%; }
          .value { white-space: nowrap; font-variant-numeric: tabular-nums; }
          .convergence { margin: 0 0 2.5mm; padding: 1.5mm 2.5mm; border-left: 2pt solid #2e7d32;
                         background: #eef6ee; }
          .convergence.missing { border-left-color: #b3261e; background: #fbeeed; }
          .empty { color: #555; font-style: italic; margin: 0 0 2mm; }
          ol.messages { margin: 0; padding-left: 7mm; }
          ol.messages li { margin-bottom: 1mm; break-inside: avoid; }
          .signatures { margin-top: 12mm; break-inside: avoid; page-break-inside: avoid; }
          .signatures table { width: 100%; }
          .signatures td { border: none; padding: 5mm 2mm 0; vertical-align: bottom; }
          .signatures .role { width: 22%; white-space: nowrap; }
          .signatures .line { border-bottom: 0.6pt solid #111; }
          .signatures .hint td { padding-top: 0.5mm; font-size: 8pt; color: #555; text-align: center; }
          @media print {
            html { font-size: 10.5pt; }
            body { max-width: none; padding: 0; }
            th { background: #e9eef4 !important; print-color-adjust: exact; -webkit-print-color-adjust: exact; }
          }
        </style>
      </head>
      <body>
        <header>
          <h1>Результаты расчёта массовых концентраций углеводородов</h1>
          <p class="method">Методика измерений ПНД Ф 13.1:2:3.25-99: атмосферный воздух и выбросы в атмосферу,
            газохроматографический анализ.</p>
          <dl class="facts">
            <dt>Дата составления отчёта</dt>
            <dd><xsl:call-template name="text-or-dash"><xsl:with-param name="text" select="@date_created"/></xsl:call-template></dd>
            <dt>Программа расчёта</dt>
            <dd>atmocalc, версия<xsl:value-of select="@prog_version"/></dd>
          </dl>
        </header>

        <xsl:apply-templates select="settings"/>

        <h2>Хроматограммы</h2>
        <xsl:choose>
          <xsl:when test="files/row">
            <table class="files">
              <thead>
                <tr>
                  <th class="number">№</th>
                  <th>Файл</th>
                  <th>Проба</th>
                  <th>Дата анализа</th>
                  <th>Тип пробы</th>
                  <th>Вид</th>
                  <th>Градуировочная смесь</th>
                </tr>
              </thead>
              <tbody>
                <xsl:apply-templates select="files/row"/>
              </tbody>
            </table>
          </xsl:when>
          <xsl:otherwise>
            <p class="empty">Хроматограммы не выбраны.</p>
          </xsl:otherwise>
        </xsl:choose>

        <h2>Результаты</h2>
        <xsl:if test="string(@convergence)">
          <p>
            <xsl:attribute name="class">
              <xsl:choose>
                <xsl:when test="starts-with(@convergence, 'НЕТ')">convergence missing</xsl:when>
                <xsl:otherwise>convergence</xsl:otherwise>
              </xsl:choose>
            </xsl:attribute>
            <xsl:value-of select="@convergence"/>
          </p>
        </xsl:if>
        <xsl:choose>
          <xsl:when test="results/row">
            <table class="results">
              <thead>
                <tr>
                  <th class="number">№</th>
                  <th>Компонент</th>
                  <th>Массовая концентрация</th>
                </tr>
              </thead>
              <tbody>
                <xsl:apply-templates select="results/row"/>
              </tbody>
            </table>
          </xsl:when>
          <xsl:otherwise>
            <p class="empty">Результаты не получены.</p>
          </xsl:otherwise>
        </xsl:choose>

        <h2>Сообщения</h2>
        <xsl:choose>
          <xsl:when test="messages/row">
            <ol class="messages">
              <xsl:for-each select="messages/row">
                <li><xsl:value-of select="@msg_str"/></li>
              </xsl:for-each>
            </ol>
          </xsl:when>
          <xsl:otherwise>
            <p class="empty">Сообщений нет.</p>
          </xsl:otherwise>
        </xsl:choose>
        <xsl:apply-templates select="trace"/>

        <section class="signatures">
          <table>
            <tr>
              <td class="role">Расчёт выполнил</td>
              <td class="line"></td>
              <td class="line"></td>
              <td class="line"></td>
            </tr>
            <tr class="hint">
              <td></td>
              <td>должность</td>
              <td>подпись</td>
              <td>фамилия, инициалы</td>
            </tr>
            <tr>
              <td class="role">Проверил</td>
              <td class="line"></td>
              <td class="line"></td>
              <td class="line"></td>
            </tr>
            <tr class="hint">
              <td></td>
              <td>должность</td>
              <td>подпись</td>
              <td>фамилия, инициалы</td>
            </tr>
          </table>
        </section>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="settings">
    <h2>Условия расчёта</h2>
    <table class="settings">
      <tbody>
        <tr>
          <th>Стандартные условия</th>
          <td><xsl:value-of select="@stdConditions"/></td>
        </tr>
        <tr>
          <th>Давление при градуировке, мм рт. ст.</th>
          <td class="value"><xsl:value-of select="@pressGrad"/></td>
        </tr>
        <tr>
          <th>Давление при анализе, мм рт. ст.</th>
          <td class="value"><xsl:value-of select="@pressAn"/></td>
        </tr>
      </tbody>
    </table>
  </xsl:template>

  <xsl:template match="files/row">
    <tr>
      <td class="number"><xsl:value-of select="@number"/></td>
      <td><xsl:value-of select="@fileName"/></td>
      <td><xsl:value-of select="@sample"/></td>
      <td class="value"><xsl:call-template name="text-or-dash"><xsl:with-param name="text" select="@date"/></xsl:call-template></td>
      <td><xsl:call-template name="text-or-dash"><xsl:with-param name="text" select="@cartridge"/></xsl:call-template></td>
      <td><xsl:value-of select="@type"/></td>
      <td><xsl:call-template name="text-or-dash"><xsl:with-param name="text" select="@mixture"/></xsl:call-template></td>
    </tr>
  </xsl:template>

  <xsl:template match="results/row">
    <tr>
      <td class="number"><xsl:value-of select="position()"/></td>
      <td><xsl:value-of select="@name"/></td>
      <td class="value"><xsl:value-of select="@value"/></td>
    </tr>
  </xsl:template>

  <!-- Приложение «Расчёт подробно»: есть в документе, только когда отчёт заказан с трассировкой расчёта.
       Каждая формула приходит готовым текстом (@formula и подобные), тем же, что показывают программа
       и подсказки окна; числа с 17 знаками рядом — для проверки. -->
  <xsl:template match="trace">
    <section class="trace" style="break-before: page; page-break-before: always;">
      <style>
        .trace h3 { font-size: 11pt; margin: 4mm 0 1.5mm; color: #1f3a5f; break-after: avoid; page-break-after: avoid; }
        .trace ul { margin: 0 0 2mm; padding-left: 6mm; }
        .trace li { margin-bottom: 0.8mm; break-inside: avoid; }
        .trace .formula { font-variant-numeric: tabular-nums; }
        .trace .left-out { color: #555; }
        .trace .error { color: #b3261e; }
      </style>
      <h2>Расчёт подробно</h2>
      <h3>Градуировка</h3>
      <xsl:choose>
        <xsl:when test="calibration">
          <ul>
            <xsl:for-each select="calibration/run">
              <li class="formula"><xsl:value-of select="@formula"/></li>
            </xsl:for-each>
            <xsl:if test="calibration/@error">
              <li class="error"><xsl:value-of select="calibration/@error"/></li>
            </xsl:if>
            <xsl:if test="calibration/@factorFormula">
              <li class="formula"><xsl:value-of select="calibration/@factorFormula"/></li>
            </xsl:if>
            <xsl:if test="calibration/@spreadFormula">
              <li class="formula"><xsl:value-of select="calibration/@spreadFormula"/></li>
            </xsl:if>
          </ul>
        </xsl:when>
        <xsl:otherwise>
          <p class="empty">Нет градуировочных хроматограмм.</p>
        </xsl:otherwise>
      </xsl:choose>
      <xsl:choose>
        <xsl:when test="components">
          <h3>Условия</h3>
          <ul>
            <li class="formula"><xsl:value-of select="@pressureFormula"/></li>
            <li class="formula"><xsl:value-of select="@conditionsFormula"/></li>
          </ul>
          <h3>Компоненты</h3>
          <table>
            <thead>
              <tr>
                <th>Формула</th>
                <th>В результатах</th>
              </tr>
            </thead>
            <tbody>
              <xsl:for-each select="components/component">
                <tr>
                  <td class="formula"><xsl:value-of select="@formula"/></td>
                  <xsl:choose>
                    <xsl:when test="@listed = 'true'"><td>да</td></xsl:when>
                    <xsl:otherwise><td class="left-out">нет: <xsl:value-of select="@reason"/></td></xsl:otherwise>
                  </xsl:choose>
                </tr>
              </xsl:for-each>
            </tbody>
          </table>
          <h3>Суммы</h3>
          <ul>
            <li class="formula"><xsl:value-of select="components/@sumWithoutFormula"/></li>
            <li class="formula"><xsl:value-of select="components/@sumWithFormula"/></li>
            <xsl:if test="components/@saturatedFormula">
              <li class="formula"><xsl:value-of select="components/@saturatedFormula"/></li>
            </xsl:if>
            <xsl:if test="components/@unsaturatedFormula">
              <li class="formula"><xsl:value-of select="components/@unsaturatedFormula"/></li>
            </xsl:if>
          </ul>
          <xsl:if test="unmatched/peak">
            <h3>Пики без компонента</h3>
            <ul>
              <xsl:for-each select="unmatched/peak">
                <li><xsl:value-of select="@text"/></li>
              </xsl:for-each>
            </ul>
          </xsl:if>
        </xsl:when>
        <xsl:when test="calibration/@factor">
          <p class="empty">Концентрации не вычислены: не заданы давления.</p>
        </xsl:when>
      </xsl:choose>
    </section>
  </xsl:template>

  <!-- Пустое значение показывается прочерком, чтобы ни одна ячейка не выглядела забытой. -->
  <xsl:template name="text-or-dash">
    <xsl:param name="text"/>
    <xsl:choose>
      <xsl:when test="string($text)"><xsl:value-of select="$text"/></xsl:when>
      <xsl:otherwise>—</xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
