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

  Отчёт собирается из именованных разделов (шаблон "root" только вызывает их по порядку), так что
  новый раздел — это один вызов и один шаблон.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes" doctype-system="about:legacy-compat"/>

  <!--
    Уровень сообщения. Документ несёт только тексты, а тексты системы постоянны, поэтому уровень
    узнаётся по ним: постоянные тексты — целиком, тексты с вставленным именем — по началу и по
    постоянной части после имени.
    Группы не пересекаются; текст, не узнанный ни одной, идёт под нейтральный заголовок и не теряется.
  -->
  <xsl:key name="level" use="'error'" match="messages/row[
      @msg_str = 'Справочник компонентов не загружен — расчёт невозможен.'
      or @msg_str = 'Не задано давление при градуировке (настройки).'
      or @msg_str = 'Не задано давление при анализе (настройки).'
      or @msg_str = 'Нет градуировочных хроматограмм — расчёт не выполнен.'
      or (starts-with(@msg_str, 'Градуировочная &quot;')
          and contains(@msg_str, '&quot;: нет метана с концентрацией больше нуля — расчёт не выполнен.'))]"/>
  <xsl:key name="level" use="'warning'" match="messages/row[
      (starts-with(@msg_str, 'Проба &quot;')
       and contains(@msg_str, '&quot;: тип не определён — измерение не будет использовано в расчёте.'))
      or @msg_str = 'Только одна градуировочная хроматограмма — сходимость калибровки не оценивается (рекомендуется не менее 2).'
      or @msg_str = 'Нет хроматограмм &quot;с патроном&quot; — предельные углеводороды не рассчитаны.'
      or @msg_str = 'Только одна хроматограмма &quot;с патроном&quot; — усреднение по одному измерению (рекомендуется не менее 2).'
      or @msg_str = 'Нет хроматограмм &quot;без патрона&quot; — непредельные и отдельные компоненты не рассчитаны.'
      or @msg_str = 'Только одна хроматограмма &quot;без патрона&quot; — усреднение по одному измерению (рекомендуется не менее 2).']"/>
  <xsl:key name="level" use="'info'" match="messages/row[
      @msg_str = 'Хроматограммы не добавлены — добавьте измерения для расчёта.']"/>

  <!-- Знаки, после которых длинное имя файла или смеси может переноситься. -->
  <xsl:variable name="separators" select="'/\._-'"/>

  <xsl:template match="/">
    <xsl:apply-templates select="root"/>
  </xsl:template>

  <xsl:template match="root">
    <xsl:variable name="errors" select="key('level', 'error')"/>
    <xsl:variable name="complete" select="results/row and not($errors)"/>
    <html lang="ru">
      <xsl:call-template name="head"/>
      <body>
        <xsl:call-template name="running-identity"/>
        <main>
          <xsl:call-template name="title"/>
          <xsl:call-template name="verdict">
            <xsl:with-param name="errors" select="$errors"/>
          </xsl:call-template>
          <xsl:apply-templates select="settings"/>
          <xsl:call-template name="files"/>
          <xsl:call-template name="results"/>
          <xsl:call-template name="messages"/>
          <xsl:apply-templates select="trace"/>
          <xsl:call-template name="signatures">
            <xsl:with-param name="applicable" select="$complete"/>
          </xsl:call-template>
        </main>
      </body>
    </html>
  </xsl:template>

  <xsl:template name="head">
    <head>
      <meta http-equiv="Content-Security-Policy"
            content="default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'"/>
      <meta name="viewport" content="width=device-width, initial-scale=1"/>
      <title>Результаты расчёта — ПНД Ф 13.1:2:3.25-99</title>
      <style>
        @page {
          size: A4 portrait;
          margin: 12mm 12mm 14mm 18mm;
          @bottom-right { content: "стр. " counter(page) " из " counter(pages);
                          font: 8.5pt "Liberation Serif", "Times New Roman", serif; color: #444; }
        }
        html { font-family: "PT Serif", "Liberation Serif", "Times New Roman", serif; font-size: 11pt;
               color: #111; background: #fff; }
        body { max-width: 190mm; margin: 0 auto; padding: 10mm 6mm; line-height: 1.35; }
        /* Перенос только на пробелах, а в именах файлов и смесей ещё и после отмеченных разделителей:
           слово никогда не разрывается. */
        body { overflow-wrap: normal; word-break: normal; hyphens: manual; }
        .identity { display: none; }
        header { border-bottom: 1.5pt solid #1f3a5f; padding-bottom: 3mm; margin-bottom: 4mm; }
        h1 { font-size: 15pt; margin: 0 0 1.5mm; color: #1f3a5f; }
        .method { margin: 0 0 2.5mm; font-size: 10.5pt; }
        .facts { margin: 0; display: grid; grid-template-columns: max-content 1fr; gap: 0.8mm 4mm;
                 font-size: 10pt; }
        .facts dt { color: #555; }
        .facts dd { margin: 0; }
        .verdict { margin: 0 0 4mm; padding: 2mm 3mm; break-inside: avoid; }
        .verdict.done { padding: 0 0 0 3mm; border-left: 2pt solid #2e7d32; color: #1e4d22; }
        .verdict.not-done, .verdict.partial { border: 1pt solid #b3261e; border-left-width: 4pt;
                                              background: #fbeeed; }
        .verdict .title { margin: 0; font-size: 12.5pt; font-weight: bold; color: #8c1d18; }
        .verdict ul { margin: 1mm 0 0; padding-left: 6mm; }
        h2 { font-size: 12.5pt; margin: 6mm 0 2mm; color: #1f3a5f; break-after: avoid;
             page-break-after: avoid; }
        h3 { font-size: 11pt; margin: 3mm 0 1mm; break-after: avoid; page-break-after: avoid; }
        table { width: 100%; border-collapse: collapse; margin: 0 0 2mm; }
        th, td { border: 0.6pt solid #8a96a3; padding: 1.2mm 2mm; text-align: left; vertical-align: top; }
        th { background: #e9eef4; font-weight: bold; }
        thead { display: table-header-group; }
        tr { break-inside: avoid; page-break-inside: avoid; }
        table.files { font-size: 9pt; }
        table.files td, table.files th { padding: 1mm 1.5mm; }
        table.settings th { width: 55%; background: none; font-weight: normal; }
        .number { text-align: right; white-space: nowrap; width: 1%; }
        .value { white-space: nowrap; font-variant-numeric: tabular-nums; }
        .unbroken { white-space: nowrap; }
        .convergence { margin: 0 0 2.5mm; padding: 1.5mm 2.5mm; border-left: 2pt solid #2e7d32;
                       background: #eef6ee; }
        .convergence.missing { border-left-color: #b3261e; background: #fbeeed; }
        .uncertainty, .rounding { margin: 0 0 2mm; font-size: 9.5pt; color: #333; }
        .empty { color: #555; font-style: italic; margin: 0 0 2mm; }
        ol.messages { margin: 0; padding-left: 9mm; }
        ol.messages li { margin-bottom: 1mm; break-inside: avoid; overflow-wrap: break-word; }
        .signatures { margin-top: 12mm; break-inside: avoid; page-break-inside: avoid; }
        .signatures table { width: 100%; }
        .signatures td { border: none; padding: 5mm 2mm 0; vertical-align: bottom; }
        .signatures .role { width: 22%; white-space: nowrap; }
        .signatures .line { border-bottom: 0.6pt solid #111; }
        .signatures .hint td { padding-top: 0.5mm; font-size: 8pt; color: #555; text-align: center; }
        .signatures.not-applicable { color: #777; }
        .signatures.not-applicable .line { border-bottom-style: dashed; border-bottom-color: #999; }
        .signatures .note { margin: 0; font-weight: bold; color: #8c1d18; }
        .trace { break-before: page; page-break-before: always; }
        .trace h3 { font-size: 11pt; margin: 4mm 0 1.5mm; color: #1f3a5f; break-after: avoid; page-break-after: avoid; }
        .trace ul { margin: 0 0 2mm; padding-left: 6mm; }
        .trace li { margin-bottom: 0.8mm; break-inside: avoid; }
        .trace .formula { font-variant-numeric: tabular-nums; }
        .trace .left-out { color: #555; }
        .trace .error { color: #b3261e; }
        @media print {
          html { font-size: 10.5pt; }
          body { max-width: none; padding: 0; }
          /* Данные отчёта на каждом листе: фиксированный блок печатается на каждой странице, а верхний
             отступ содержимого, повторённый на каждой странице, оставляет для него место. */
          .identity { display: block; position: fixed; top: 0; left: 0; right: 0; height: 5mm;
                      border-bottom: 0.5pt solid #8a96a3; font-size: 8.5pt; color: #444; }
          main { padding-top: 8mm; box-decoration-break: clone; -webkit-box-decoration-break: clone; }
          th, .verdict, .convergence { print-color-adjust: exact; -webkit-print-color-adjust: exact; }
        }
      </style>
    </head>
  </xsl:template>

  <!-- Дата составления и версия программы в строке, которая при печати повторяется на каждой странице. -->
  <xsl:template name="running-identity">
    <div class="identity">
      <xsl:text>Результаты расчёта по ПНД Ф 13.1:2:3.25-99 · отчёт от </xsl:text>
      <xsl:call-template name="text-or-dash"><xsl:with-param name="text" select="@date_created"/></xsl:call-template>
      <xsl:text> · atmocalc, версия</xsl:text>
      <xsl:value-of select="@prog_version"/>
    </div>
  </xsl:template>

  <xsl:template name="title">
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
  </xsl:template>

  <!--
    Итог расчёта вверху отчёта. Без строк результата расчёт не выполнен; со строками, но с ошибкой —
    выполнен не полностью. Причины — тексты ошибок, а если ошибок нет — остальные сообщения.
  -->
  <xsl:template name="verdict">
    <xsl:param name="errors"/>
    <xsl:choose>
      <xsl:when test="results/row and not($errors)">
        <p class="verdict done">
          <xsl:text>Расчёт выполнен, ошибок нет.</xsl:text>
          <xsl:if test="key('level', 'warning')">
            <xsl:text> Предупреждений: </xsl:text>
            <xsl:value-of select="count(key('level', 'warning'))"/>
            <xsl:text> — см. раздел «Сообщения».</xsl:text>
          </xsl:if>
        </p>
      </xsl:when>
      <xsl:otherwise>
        <section>
          <xsl:attribute name="class">
            <xsl:choose>
              <xsl:when test="results/row">verdict partial</xsl:when>
              <xsl:otherwise>verdict not-done</xsl:otherwise>
            </xsl:choose>
          </xsl:attribute>
          <p class="title">
            <xsl:choose>
              <xsl:when test="results/row">Расчёт выполнен не полностью.</xsl:when>
              <xsl:otherwise>Расчёт не выполнен.</xsl:otherwise>
            </xsl:choose>
          </p>
          <xsl:choose>
            <xsl:when test="$errors">
              <ul class="reasons"><xsl:for-each select="$errors"><li><xsl:value-of select="@msg_str"/></li></xsl:for-each></ul>
            </xsl:when>
            <xsl:when test="messages/row">
              <ul class="reasons"><xsl:for-each select="messages/row"><li><xsl:value-of select="@msg_str"/></li></xsl:for-each></ul>
            </xsl:when>
            <xsl:otherwise>
              <ul class="reasons"><li>Результаты не получены.</li></ul>
            </xsl:otherwise>
          </xsl:choose>
        </section>
      </xsl:otherwise>
    </xsl:choose>
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

  <xsl:template name="files">
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
  </xsl:template>

  <xsl:template match="files/row">
    <tr>
      <td class="number"><xsl:value-of select="@number"/></td>
      <td><xsl:call-template name="breakable"><xsl:with-param name="text" select="@fileName"/></xsl:call-template></td>
      <td><xsl:value-of select="@sample"/></td>
      <td>
        <!-- Дата и время не разрываются; строка может перейти только между ними. -->
        <xsl:choose>
          <xsl:when test="contains(@date, ' ')">
            <span class="unbroken"><xsl:value-of select="substring-before(@date, ' ')"/></span>
            <xsl:text> </xsl:text>
            <span class="unbroken"><xsl:value-of select="substring-after(@date, ' ')"/></span>
          </xsl:when>
          <xsl:when test="string(@date)"><span class="unbroken"><xsl:value-of select="@date"/></span></xsl:when>
          <xsl:otherwise>—</xsl:otherwise>
        </xsl:choose>
      </td>
      <td><xsl:call-template name="text-or-dash"><xsl:with-param name="text" select="@cartridge"/></xsl:call-template></td>
      <td><xsl:value-of select="@type"/></td>
      <td>
        <xsl:choose>
          <xsl:when test="string(@mixture)">
            <xsl:call-template name="breakable"><xsl:with-param name="text" select="@mixture"/></xsl:call-template>
          </xsl:when>
          <xsl:otherwise>—</xsl:otherwise>
        </xsl:choose>
      </td>
    </tr>
  </xsl:template>

  <xsl:template name="results">
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
              <th>Округлённый результат</th>
            </tr>
          </thead>
          <tbody>
            <xsl:apply-templates select="results/row"/>
          </tbody>
        </table>
        <p class="rounding">Округлённый результат: погрешность — до двух значащих цифр, если первая из них 1
          или 2, иначе до одной, значение — до того же разряда; отбрасываемая цифра 5 и больше увеличивает
          оставляемую.</p>
        <p class="uncertainty">После знака «±» указана погрешность результата измерений: по методике
          она составляет 23 % от значения массовой концентрации.</p>
      </xsl:when>
      <xsl:otherwise>
        <p class="empty">Результаты не получены.</p>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="results/row">
    <tr>
      <td class="number"><xsl:value-of select="position()"/></td>
      <td><xsl:value-of select="@name"/></td>
      <td class="value"><xsl:value-of select="@value"/></td>
      <td class="value"><xsl:call-template name="rounded-result"><xsl:with-param name="text" select="@value"/></xsl:call-template></td>
    </tr>
  </xsl:template>

  <!--
    Результат строки "V±Δ мг/м3" так, как его записывают по методике: Δ по модулю — до двух значащих
    цифр, если первая из них 1 или 2, иначе до одной; V — до того же разряда; десятичная запятая.
    Округляются цифры самого текста (строковой арифметикой, без перевода в число): первая отбрасываемая
    цифра 5 и больше увеличивает последнюю оставляемую по модулю, так что лаборант, округливший строку
    вручную, получит то же. Разряд не бывает мельче последней цифры текста. Если перенос превратил две
    цифры Δ "2x" в "30", Δ записывается одной цифрой, как того требует правило для записанного числа.
    Текст другого вида и Δ, равная нулю, показываются как есть.
  -->
  <xsl:variable name="zeros" select="'00000000000000000000000000000000'"/>

  <xsl:template name="rounded-result">
    <xsl:param name="text"/>
    <xsl:variable name="value" select="substring-before($text, '±')"/>
    <xsl:variable name="rest" select="substring-after($text, '±')"/>
    <xsl:variable name="delta" select="substring-before($rest, ' ')"/>
    <xsl:variable name="v" select="substring($value, 1 + starts-with($value, '-'))"/>
    <xsl:variable name="d" select="substring($delta, 1 + starts-with($delta, '-'))"/>
    <xsl:variable name="vInt" select="substring-before(concat($v, '.'), '.')"/>
    <xsl:variable name="dInt" select="substring-before(concat($d, '.'), '.')"/>
    <xsl:variable name="vFrac" select="substring-after($v, '.')"/>
    <xsl:variable name="dFrac" select="substring-after($d, '.')"/>
    <!-- Дробные части дополняются нулями до длины большей из них, чтобы разряд значил одно и то же в обеих. -->
    <xsl:variable name="fraction" select="string-length($vFrac) + (string-length($dFrac) - string-length($vFrac)) * (string-length($dFrac) &gt; string-length($vFrac))"/>
    <xsl:variable name="dDigits" select="concat($dInt, substring(concat($dFrac, $zeros), 1, $fraction))"/>
    <xsl:variable name="significant" select="translate($dDigits, '0', '')"/>
    <xsl:choose>
      <xsl:when test="substring-after($rest, ' ') = 'мг/м3' and $significant != ''
                      and string-length($vInt) &gt; 0 and translate($vInt, '0123456789', '') = ''
                      and string-length($dInt) &gt; 0 and translate($dInt, '0123456789', '') = ''
                      and translate($vFrac, '0123456789', '') = '' and translate($dFrac, '0123456789', '') = ''
                      and (contains($v, '.') = (string-length($vFrac) &gt; 0))
                      and (contains($d, '.') = (string-length($dFrac) &gt; 0))
                      and $fraction &lt;= string-length($zeros)
                      and string-length($dInt) - string-length($vInt) &lt; string-length($zeros) - 2">
        <xsl:variable name="first" select="substring($significant, 1, 1)"/>
        <xsl:variable name="leading" select="string-length(substring-before($dDigits, $first))"/>
        <xsl:variable name="kept" select="1 + ($first = '1' or $first = '2')"/>
        <xsl:variable name="last" select="$leading + $kept - ($leading + $kept &gt; string-length($dDigits))"/>
        <xsl:variable name="place" select="string-length($dInt) - $last"/>
        <xsl:variable name="deltaAtPlace">
          <xsl:call-template name="round-at">
            <xsl:with-param name="int" select="$dInt"/>
            <xsl:with-param name="frac" select="$dFrac"/>
            <xsl:with-param name="place" select="$place"/>
            <xsl:with-param name="fraction" select="$fraction"/>
          </xsl:call-template>
        </xsl:variable>
        <xsl:variable name="final" select="$place + ($kept = 2 and substring(translate($deltaAtPlace, '0.', ''), 1, 1) = '3')"/>
        <xsl:variable name="roundedDelta">
          <xsl:call-template name="round-at">
            <xsl:with-param name="int" select="$dInt"/>
            <xsl:with-param name="frac" select="$dFrac"/>
            <xsl:with-param name="place" select="$final"/>
            <xsl:with-param name="fraction" select="$fraction"/>
          </xsl:call-template>
        </xsl:variable>
        <xsl:variable name="roundedValue">
          <xsl:call-template name="round-at">
            <xsl:with-param name="int" select="$vInt"/>
            <xsl:with-param name="frac" select="$vFrac"/>
            <xsl:with-param name="place" select="$final"/>
            <xsl:with-param name="fraction" select="$fraction"/>
          </xsl:call-template>
        </xsl:variable>
        <xsl:if test="starts-with($value, '-') and translate($roundedValue, '0.', '') != ''">−</xsl:if>
        <xsl:value-of select="concat(translate($roundedValue, '.', ','), ' ± ', translate($roundedDelta, '.', ','), ' мг/м³')"/>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$text"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!--
    Цифры int.frac (frac дополнен нулями до fraction знаков), округлённые до разряда 10^place от нуля на
    половине, в виде "I" или "I.F" без ведущих нулей.
  -->
  <xsl:template name="round-at">
    <xsl:param name="int"/>
    <xsl:param name="frac"/>
    <xsl:param name="place"/>
    <xsl:param name="fraction"/>
    <!-- Нули впереди дают цифру для переноса и оставляемую часть, даже когда разряд левее всех цифр. -->
    <xsl:variable name="whole" select="concat(substring($zeros, 1, $place + 2 - string-length($int)), $int)"/>
    <xsl:variable name="digits" select="concat($whole, substring(concat($frac, $zeros), 1, $fraction))"/>
    <xsl:variable name="cut" select="string-length($whole) - $place"/>
    <xsl:variable name="next" select="substring($digits, $cut + 1, 1)"/>
    <xsl:variable name="rounded">
      <xsl:choose>
        <xsl:when test="$next != '' and contains('56789', $next)">
          <xsl:call-template name="increment">
            <xsl:with-param name="digits" select="substring($digits, 1, $cut)"/>
          </xsl:call-template>
        </xsl:when>
        <xsl:otherwise><xsl:value-of select="substring($digits, 1, $cut)"/></xsl:otherwise>
      </xsl:choose>
    </xsl:variable>
    <xsl:variable name="intDigits">
      <xsl:choose>
        <xsl:when test="$place &gt;= 0"><xsl:value-of select="concat($rounded, substring($zeros, 1, $place))"/></xsl:when>
        <xsl:otherwise><xsl:value-of select="substring($rounded, 1, string-length($rounded) + $place)"/></xsl:otherwise>
      </xsl:choose>
    </xsl:variable>
    <xsl:variable name="nonZero" select="translate($intDigits, '0', '')"/>
    <xsl:choose>
      <xsl:when test="$nonZero = ''">0</xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="substring($intDigits, string-length(substring-before($intDigits, substring($nonZero, 1, 1))) + 1)"/>
      </xsl:otherwise>
    </xsl:choose>
    <xsl:if test="$place &lt; 0">
      <xsl:value-of select="concat('.', substring($rounded, string-length($rounded) + $place + 1))"/>
    </xsl:if>
  </xsl:template>

  <!-- Строка десятичных цифр плюс один; из одних девяток выходит на цифру больше. -->
  <xsl:template name="increment">
    <xsl:param name="digits"/>
    <xsl:variable name="last" select="substring($digits, string-length($digits))"/>
    <xsl:variable name="head" select="substring($digits, 1, string-length($digits) - 1)"/>
    <xsl:choose>
      <xsl:when test="$digits = ''">1</xsl:when>
      <xsl:when test="$last = '9'">
        <xsl:call-template name="increment"><xsl:with-param name="digits" select="$head"/></xsl:call-template>
        <xsl:text>0</xsl:text>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="concat($head, translate($last, '012345678', '123456789'))"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!--
    Сообщения под теми же заголовками и с той же сквозной нумерацией, что на странице сообщений:
    ошибки, предупреждения, информация; неузнанные тексты — последними, под "Сообщения:".
  -->
  <xsl:template name="messages">
    <xsl:variable name="errors" select="key('level', 'error')"/>
    <xsl:variable name="warnings" select="key('level', 'warning')"/>
    <xsl:variable name="infos" select="key('level', 'info')"/>
    <xsl:variable name="known" select="$errors | $warnings | $infos"/>
    <h2>Сообщения</h2>
    <xsl:choose>
      <xsl:when test="messages/row">
        <xsl:call-template name="message-group">
          <xsl:with-param name="level" select="'errors'"/>
          <xsl:with-param name="heading" select="'Ошибки:'"/>
          <xsl:with-param name="rows" select="$errors"/>
          <xsl:with-param name="first" select="1"/>
        </xsl:call-template>
        <xsl:call-template name="message-group">
          <xsl:with-param name="level" select="'warnings'"/>
          <xsl:with-param name="heading" select="'Предупреждения:'"/>
          <xsl:with-param name="rows" select="$warnings"/>
          <xsl:with-param name="first" select="count($errors) + 1"/>
        </xsl:call-template>
        <xsl:call-template name="message-group">
          <xsl:with-param name="level" select="'infos'"/>
          <xsl:with-param name="heading" select="'Информация:'"/>
          <xsl:with-param name="rows" select="$infos"/>
          <xsl:with-param name="first" select="count($known) + 1 - count($infos)"/>
        </xsl:call-template>
        <xsl:call-template name="message-group">
          <xsl:with-param name="level" select="'other'"/>
          <xsl:with-param name="heading" select="'Сообщения:'"/>
          <xsl:with-param name="rows" select="messages/row[count(. | $known) != count($known)]"/>
          <xsl:with-param name="first" select="count($known) + 1"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise>
        <p class="empty">Сообщений нет.</p>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- Одна группа сообщений: заголовок и список, пронумерованный с номера first; пустая группа не видна. -->
  <xsl:template name="message-group">
    <xsl:param name="level"/>
    <xsl:param name="heading"/>
    <xsl:param name="rows"/>
    <xsl:param name="first"/>
    <xsl:if test="$rows">
      <section class="{$level}">
        <h3><xsl:value-of select="$heading"/></h3>
        <ol class="messages" start="{$first}">
          <xsl:for-each select="$rows">
            <li><xsl:value-of select="@msg_str"/></li>
          </xsl:for-each>
        </ol>
      </section>
    </xsl:if>
  </xsl:template>

  <xsl:template name="signatures">
    <xsl:param name="applicable"/>
    <section>
      <xsl:attribute name="class">
        <xsl:choose>
          <xsl:when test="$applicable">signatures</xsl:when>
          <xsl:otherwise>signatures not-applicable</xsl:otherwise>
        </xsl:choose>
      </xsl:attribute>
      <xsl:if test="not($applicable)">
        <p class="note">
          <xsl:text>Подписи не ставятся: расчёт </xsl:text>
          <xsl:choose>
            <xsl:when test="results/row">выполнен не полностью.</xsl:when>
            <xsl:otherwise>не выполнен.</xsl:otherwise>
          </xsl:choose>
        </p>
      </xsl:if>
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
  </xsl:template>

  <!-- Пустое значение показывается прочерком, чтобы ни одна ячейка не выглядела забытой. -->
  <xsl:template name="text-or-dash">
    <xsl:param name="text"/>
    <xsl:choose>
      <xsl:when test="string($text)"><xsl:value-of select="$text"/></xsl:when>
      <xsl:otherwise>—</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!--
    Текст с возможностью переноса (wbr) после каждого разделителя, кроме последних четырёх знаков, чтобы
    на строке не оставалось одно расширение вроде "stg"; сам текст не меняется. Разбор идёт от
    разделителя к разделителю, не глубже budget шагов: дальше текст выводится как есть, и перенос
    остаётся только на пробелах.
  -->
  <xsl:template name="breakable">
    <xsl:param name="text"/>
    <xsl:param name="budget" select="64"/>
    <xsl:variable name="marked" select="translate($text, $separators, '/////')"/>
    <xsl:choose>
      <xsl:when test="$budget &gt; 0 and contains($marked, '/')">
        <xsl:variable name="head" select="string-length(substring-before($marked, '/')) + 1"/>
        <xsl:value-of select="substring($text, 1, $head)"/>
        <xsl:if test="string-length($text) - $head &gt; 4"><wbr/></xsl:if>
        <xsl:call-template name="breakable">
          <xsl:with-param name="text" select="substring($text, $head + 1)"/>
          <xsl:with-param name="budget" select="$budget - 1"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$text"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- Приложение «Расчёт подробно»: есть в документе, только когда отчёт заказан с трассировкой расчёта.
       Каждая формула приходит готовым текстом (@formula и подобные), тем же, что показывают программа
       и подсказки окна; числа с 17 знаками рядом — для проверки. -->
  <xsl:template match="trace">
    <section class="trace">
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
</xsl:stylesheet>
