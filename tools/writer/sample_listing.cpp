#include "tools/writer/sample_listing.h"

#include "tools/writer/listing_description.h"

namespace tov::writer {
namespace {

// Windows-1252 text written as UTF-8; the writer converts it. Sizes, dates and results are
// as the laboratory's tools report them, the statistics are counted from the tree.
constexpr char kSampleDescription[] =
    R"tov(# Office computer of a building firm: the disk stopped starting after a power cut.
> C:
  boot.ini|211|14/03/08 09:12:40|
  pagefile.sys|1,5 GB|16/03/09 08:31:02|
  AUTOEXEC.BAT|0|14/03/08 09:05:11|
  CONFIG.SYS|0|14/03/08 09:05:11|
  > C:\Contabilidad
    Balance 2007.xls|562 KB|16/11/07 13:47:58|bien
    Balance 2008.xls|20 KB|17/10/05 08:28:58|mal
    Cuenta de resultados 2008.xls|1,7 MB|03/03/05 14:47:04|bien
    Amortizaciones.xls|407 KB|22/08/07 08:48:06|
    Previsión tesorería 2009.xls|2,2 MB|06/03/09 13:17:16|bien
    Libro de IVA 2008.xls|141 KB|24/07/04 18:55:39|
    Conciliación bancaria.xls|265 KB|18/03/06 20:44:48|bien
    Leeme.txt|8,3 KB|26/11/05 13:21:30|
    > C:\Contabilidad\Año 2008
      Facturas emitidas enero.xls|111 KB|22/02/09 16:21:15|bien
      Facturas emitidas febrero.xls|1,1 MB|27/01/09 19:05:37|mal
      Facturas emitidas marzo.xls|294 KB|07/03/08 18:02:27|bien
      Facturas recibidas 1T.xls|82 KB|22/06/08 14:26:59|bien
      Facturas recibidas 2T.xls|1,2 MB|16/04/08 19:28:21|bien
      Facturas recibidas 3T.xls|44 KB|28/10/08 11:53:32|bien
      Facturas recibidas 4T.xls|645 KB|08/09/08 11:52:09|bien
      Modelo 303 1T.pdf|2,6 MB|20/12/08 17:06:17|
      Modelo 303 2T.pdf|1,4 MB|12/10/08 14:19:09|
      Modelo 303 3T.pdf|92 KB|14/01/08 19:18:28|
      Modelo 303 4T.pdf|482 KB|28/04/08 08:01:48|
      Modelo 347.pdf|115 KB|09/03/09 09:50:45|
      Nóminas diciembre.xls|93 KB|11/11/08 17:04:35|bien
    > C:\Contabilidad\Año 2009
      Facturas emitidas enero.xls|1,2 MB|13/03/09 09:58:05|bien
      Facturas emitidas febrero.xls|812 KB|23/01/09 14:16:01|bien
      Facturas recibidas 1T.xls|859 KB|12/01/09 18:24:18|bien
      Nóminas enero.xls|125 KB|14/02/09 15:51:39|bien
      Nóminas febrero.xls|181 KB|15/03/09 08:12:28|mal
      Préstamo ICO.pdf|303 KB|16/01/09 15:01:38|
      Seguros sociales enero.pdf|210 KB|21/01/09 16:29:01|
  > C:\Documentos
    Plantilla carta.dot|38 KB|26/03/07 15:32:05|bien
    Membrete Peñalara.doc|41 KB|05/12/07 20:39:26|bien
    Logotipo.bmp|210 KB|20/08/07 15:05:30|bien
    Tarifas 2009.xls|223 KB|22/01/06 12:42:07|bien
    > C:\Documentos\Presupuestos
      Presupuesto reforma cocina Sr. Muñoz.doc|436 KB|06/06/08 10:40:01|bien
      Presupuesto nave Cabanillas.doc|21 KB|17/02/09 10:22:57|mal
      Presupuesto nave Cabanillas.xls|108 KB|27/10/05 11:51:00|bien
      Presupuesto fachada C. Mayor 14.doc|55 KB|25/04/06 16:54:53|bien
      Presupuesto fachada C. Mayor 14 rev2.doc|508 KB|14/04/04 15:49:09|bien
      Presupuesto baños colegio San José.doc|73 KB|17/02/09 09:17:15|bien
      Presupuesto baños colegio San José.xls|653 KB|14/08/05 12:52:16|bien
      Presupuesto ampliación almacén.doc|88 KB|26/07/08 09:31:32|bien
      Mediciones almacén.xls|213 KB|21/10/05 15:22:58|mal
      Presupuesto impermeabilización cubierta.doc|40 KB|17/01/04 09:56:35|bien
      Comparativo ofertas ferralla.xls|2,0 MB|15/11/05 13:25:07|bien
      Presupuesto urbanización El Encín.doc|740 KB|13/05/08 19:06:02|bien
      Presupuesto urbanización El Encín.xls|67 KB|18/07/04 08:10:56|bien
      Oferta climatización.pdf|51 KB|23/03/04 14:05:26|
    > C:\Documentos\Correspondencia
      Carta Ayuntamiento licencia obras.doc|496 KB|18/02/08 13:31:56|bien
      Carta reclamación Hormigones Jarama.doc|195 KB|28/12/06 12:35:33|bien
      Respuesta Comunidad de Propietarios.doc|288 KB|26/06/04 09:57:43|mal
      Carta a Sra. Güell.doc|247 KB|08/07/04 20:56:54|bien
      Requerimiento Hacienda.pdf|446 KB|09/04/04 20:17:49|
      Contestación requerimiento.doc|259 KB|20/12/06 13:54:39|bien
      Felicitación Navidad 2008.doc|64 KB|11/09/06 11:18:10|bien
      Felicitación Navidad 2008.jpg|3,1 MB|02/03/07 08:41:27|bien
      Circular horario de verano.doc|31 KB|26/02/06 09:02:42|mal
      Aviso corte de agua.doc|360 KB|06/01/05 15:52:26|bien
      Sobres etiquetas.doc|431 KB|02/04/07 16:04:26|bien
    > C:\Documentos\Contratos
      Contrato obra Cabanillas firmado.pdf|146 KB|26/07/07 18:16:08|
)tov"
    R"tov(      Contrato subcontrata electricidad.doc|224 KB|07/12/07 09:16:35|bien
      Contrato subcontrata fontanería.doc|577 KB|22/12/06 12:48:13|bien
      Contrato alquiler nave.pdf|42 KB|05/11/04 12:52:57|
      Anexo contrato alquiler.doc|58 KB|06/03/07 11:47:03|bien
      Contrato mantenimiento grúa.pdf|516 KB|01/12/05 19:27:15|
      Contrato tipo trabajador.doc|562 KB|02/04/05 17:50:41|bien
      > Laboral
        Alta Seguridad Social José Ángel.pdf|792 KB|15/12/05 09:07:30|
        Contrato Iñaki Etxeberria.doc|38 KB|16/11/07 16:23:56|bien
        Contrato Raúl Domínguez.doc|543 KB|12/03/09 18:02:38|bien
        Finiquito Óscar Peña.doc|30 KB|10/02/04 08:27:37|bien
        Calendario laboral 2009.xls|240 KB|10/02/05 19:22:21|bien
        Plan de prevención.doc|22 KB|23/12/04 08:48:26|bien
        Evaluación de riesgos obra Cabanillas.doc|61 KB|06/02/08 16:45:46|bien
        Formación PRL.ppt|312 KB|04/08/08 11:55:46|bien
    > C:\Documentos\Licitaciones
      Pliego condiciones Ayto Alcalá.pdf|2,9 MB|14/09/08 17:55:18|
      Memoria técnica.doc|20 KB|02/04/06 09:06:17|bien
      Oferta económica.xls|612 KB|04/02/07 13:35:40|bien
      Oferta económica firmada.pdf|391 KB|25/08/04 08:13:22|
      Certificados de obra.zip|121 MB|08/01/06 16:12:37|
      Solvencia técnica.doc|225 KB|18/05/04 19:18:24|bien
      Clasificación empresa.pdf|678 KB|19/03/05 11:18:03|
    > C:\Documentos\Escaneos
      Escáner 001.tif|7,4 MB|01/01/08 11:21:43|bien
      Escáner 002.tif|4,7 MB|07/02/09 13:43:08|bien
      Escáner 003.tif|11 MB|04/12/08 10:47:28|bien
      DNI José Ángel.jpg|4,1 MB|06/07/08 15:30:21|
      Escritura nave.pdf|93 KB|22/02/09 09:45:25|
      Póliza seguro obra.pdf|280 KB|11/01/09 19:48:00|
      Certificado AEAT.pdf|3,0 MB|16/02/09 19:17:07|
      Fianza.gif|7,2 KB|15/10/08 15:16:07|bien
      Recibo señal.jpg|614 KB|10/08/08 11:12:04|bien
      Albarán Hormigones Jarama.tif|2,0 MB|19/09/08 08:27:39|bien
      Albarán Ferrallas Muñoz.tif|14 MB|19/07/08 11:45:40|bien
      Acta replanteo.pdf|275 KB|12/12/08 12:04:16|
  > C:\Planos
    Plano situación.dwg|3,6 MB|01/10/05 16:07:21|bien
    Plano emplazamiento.dwg|1,3 MB|24/01/09 14:42:57|bien
    Cajetín Peñalara.dwg|1,8 MB|21/04/04 15:46:31|bien
    Normas de dibujo.doc|439 KB|14/01/05 10:16:40|bien
    > C:\Planos\Nave Cabanillas
      Planta general.dwg|1,5 MB|11/03/09 14:50:17|bien
      Alzados.dwg|156 KB|03/04/08 12:19:20|bien
      Secciones.dwg|272 KB|25/01/09 11:34:20|bien
      Cimentación.dwg|343 KB|20/09/08 11:28:39|mal
      Estructura metálica.dwg|235 KB|07/03/08 18:28:15|
      Cubierta.dwg|1,5 MB|05/01/08 11:20:36|
      Saneamiento.dwg|527 KB|01/03/09 18:45:02|bien
      Instalación eléctrica.dwg|696 KB|16/02/08 09:20:21|bien
      Detalles constructivos.dxf|1004 KB|05/09/08 12:51:48|mal
      Planos Cabanillas.zip|334 KB|22/02/09 16:45:21|bien
      Estudio geotécnico.pdf|318 KB|27/06/08 19:50:10|
    > C:\Planos\Reforma C. Mayor 14
      Estado actual.dwg|5,5 MB|14/01/07 15:13:09|bien
      Estado reformado.dwg|454 KB|21/11/07 18:57:31|
      Fachada.dwg|4,1 MB|22/08/08 18:40:43|bien
      Detalle cornisa.dxf|369 KB|06/01/07 17:44:11|bien
      Fotos fachada.zip|25 MB|10/08/08 17:42:41|bien
  > C:\Fotos
    > C:\Fotos\Obra Cabanillas
      DSC00412.JPG|603 KB|27/06/08 17:27:58|mal
      DSC00413.JPG|3,1 MB|16/02/08 11:28:44|bien
      DSC00414.JPG|644 KB|14/03/09 16:50:58|
      DSC00415.JPG|822 KB|13/03/09 12:31:06|bien
      DSC00416.JPG|3,6 MB|26/01/08 14:23:21|mal
      DSC00417.JPG|3,4 MB|16/01/09 20:21:04|bien
      DSC00418.JPG|1,2 MB|18/05/08 10:27:02|bien
      DSC00419.JPG|698 KB|11/03/09 20:53:31|mal
      DSC00420.JPG|1,3 MB|10/02/09 15:25:14|bien
      DSC00421.JPG|1,2 MB|15/08/08 14:28:55|bien
      DSC00422.JPG|1,7 MB|28/02/08 10:36:37|bien
      DSC00423.JPG|849 KB|10/03/09 08:10:29|
      DSC00424.JPG|1,8 MB|17/02/09 08:39:28|bien
      DSC00425.JPG|1,3 MB|28/11/08 14:36:08|bien
      DSC00426.JPG|2,4 MB|16/10/08 12:13:11|bien
)tov"
    R"tov(      DSC00427.JPG|2,9 MB|26/11/08 19:57:21|bien
      DSC00428.JPG|647 KB|07/04/08 17:28:29|mal
      DSC00429.JPG|1,9 MB|03/01/08 15:57:24|bien
      DSC00430.JPG|1,4 MB|15/03/09 09:00:08|bien
      DSC00431.JPG|1,9 MB|05/02/08 17:42:05|bien
      DSC00432.JPG|674 KB|21/09/08 14:15:49|bien
      DSC00433.JPG|4,2 MB|22/05/08 13:27:28|bien
      DSC00434.JPG|624 KB|12/02/09 18:11:44|bien
      DSC00435.JPG|1,1 MB|09/01/09 08:57:08|bien
      DSC00436.JPG|1,1 MB|04/01/08 19:24:25|bien
      DSC00437.JPG|2,1 MB|06/06/08 20:59:04|bien
      DSC00438.JPG|3,4 MB|04/10/08 19:09:17|bien
      DSC00439.JPG|1,5 MB|15/03/09 12:16:39|mal
    > C:\Fotos\Fachada C. Mayor
      IMG_1201.jpg|2,1 MB|12/08/08 12:48:17|bien
      IMG_1202.jpg|681 KB|08/03/07 12:08:36|bien
      IMG_1203.jpg|1,2 MB|21/10/08 20:58:23|bien
      IMG_1204.jpg|2,6 MB|05/04/08 09:55:09|bien
      IMG_1205.jpg|1,2 MB|10/06/08 19:33:18|
      IMG_1206.jpg|1,1 MB|28/11/08 15:46:31|bien
      IMG_1207.jpg|1,5 MB|04/12/07 16:54:54|bien
      IMG_1208.jpg|818 KB|19/08/07 09:54:32|
      IMG_1209.jpg|674 KB|15/12/08 17:30:41|bien
      IMG_1210.jpg|1,4 MB|08/01/08 14:55:56|bien
      IMG_1211.jpg|666 KB|25/02/08 15:40:43|bien
      IMG_1212.jpg|2,9 MB|03/02/07 14:20:57|bien
      IMG_1213.jpg|902 KB|01/10/08 16:59:37|bien
      IMG_1214.jpg|1,4 MB|27/09/07 18:42:40|bien
      Andamio.jpg|1,3 MB|07/10/08 15:47:17|bien
      Grieta cornisa.jpg|1,8 MB|19/03/08 13:20:30|bien
    > C:\Fotos\Cena de empresa 2008
      P1001034.JPG|2,8 MB|24/05/08 14:38:03|bien
      P1001035.JPG|1,7 MB|19/08/08 10:19:49|bien
      P1001036.JPG|1,7 MB|19/06/08 19:01:23|bien
      P1001037.JPG|1,4 MB|11/06/08 10:57:38|bien
      P1001038.JPG|1,0 MB|04/08/08 11:34:41|bien
      P1001039.JPG|3,7 MB|20/01/08 16:24:27|
      P1001040.JPG|2,5 MB|08/10/08 09:36:15|
      P1001041.JPG|3,4 MB|08/11/08 11:45:36|mal
      P1001042.JPG|1,4 MB|01/11/08 15:21:14|mal
      P1001043.JPG|1,6 MB|12/08/08 09:54:18|mal
      P1001044.JPG|1,5 MB|10/01/08 19:03:44|bien
      P1001045.JPG|922 KB|22/02/08 16:02:01|bien
      Discurso de Begoña.wav|1,4 MB|03/05/08 09:34:05|bien
  > C:\Presentaciones
    Presentación empresa.ppt|3,4 MB|02/12/07 17:50:35|bien
    Presentación empresa 2009.pps|4,0 MB|13/10/08 10:41:04|bien
    Resultados 2008.ppt|7,0 MB|23/06/07 10:43:17|bien
    Obras realizadas.pps|583 KB|08/06/06 13:50:12|mal
    Fondo diapositiva.png|41 KB|22/04/06 14:33:33|bien
  > C:\Música
    Canción del verano.mp3|3,2 MB|06/03/09 08:52:44|mal
    Mi niña bonita.mp3|4,3 MB|26/02/07 09:25:08|bien
    Sevillanas de la Feria.mp3|2,8 MB|04/05/04 16:02:38|
    Himno del Atleti.mp3|7,7 MB|14/07/06 10:44:07|bien
    Bolero de Ravel.wma|5,5 MB|18/07/08 13:11:01|bien
    Llamada en espera.wav|17 MB|15/06/05 19:29:18|bien
  > C:\Copias de seguridad
    Copia contabilidad 2008-12-31.zip|145 MB|08/02/09 17:54:25|mal
    Copia contabilidad 2009-03-31.zip|90 MB|28/02/09 17:38:31|bien
    Copia documentos.zip|1,3 MB|02/01/08 08:56:31|bien
    Copia correo.zip|91 MB|05/03/09 13:18:41|bien
    Copia planos.zip|683 KB|11/03/08 20:09:21|bien
    Leeme copias.txt|1018|10/12/08 19:59:56|
  > C:\Outlook
    Outlook.pst|274 MB|14/08/07 20:17:52|
    Archivo 2007.pst|344 MB|28/08/08 09:05:43|
    Libreta de direcciones.eml|5,2 KB|14/12/05 19:40:54|
    Firma Peñalara.htm|11 KB|16/09/04 16:34:36|
  > C:\Archivos de programa
    > Contaplus
      contaplus.exe|16 MB|13/12/04 16:09:21|
      empresa.mdb|14 MB|20/04/07 16:23:15|
      diario.dat|198 KB|22/07/04 17:57:45|
      Errores.log|562|19/08/06 12:31:23|
    > AutoCAD LT 2006
      acadlt.exe|16 MB|19/11/06 18:59:33|
      acadlt.pgp|3,7 KB|12/09/07 14:41:27|
      Plantilla obra.dwg|4,4 MB|13/08/06 15:03:34|bien
[header]
Nº de trabajo|2009/0412
Fecha de recepción|16/03/2009
Razón social|Construcciones Peñalara S.L.
Dirección|C/ Mayor, 14, 2º B
Población|Alcalá de Henares
Provincia|Madrid
Pais|España
Marca|Durastor
Modelo|DS-3250 SATA
Fecha de análisis|20/03/2009
Tamaño|250 GB
)tov"
    R"tov(Total carpetas|{folders}
Total archivos|{files}
[statistics auto]
)tov";

}  // namespace

std::string_view SampleDescription() {
    return {kSampleDescription, sizeof kSampleDescription - 1};
}

std::string MakeSampleListing() {
    return ListingFromDescription(SampleDescription());
}

}  // namespace tov::writer
