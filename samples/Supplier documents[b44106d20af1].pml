<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.MAIL</class>
<account>Robin Ashdown</account>
<mapi>5C21AB44.halvorn.po1.100.1.1.1@1</mapi>
</id>
<props>
<core>
<archived>false</archived>
<notify-del>false</notify-del>
<routed>false</routed>
<routed-eol>false</routed-eol>
<read>true</read>
<private>false</private>
<notify-open>false</notify-open>
<hidden>false</hidden>
<opened>true</opened>
<deleted>false</deleted>
<convattach>false</convattach>
<rev-no>1</rev-no>
<reply-days-req>0</reply-days-req>
<reply-req>0</reply-req>
<from>Dana Whitlock</from>
<subject>Supplier documents</subject>
<view>mail</view>
<date-create>20261205T110200</date-create>
<date-modified>20261205T110200</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
<sender email-type="NGW" email-address="dana.whitlock@halvorn.example">Dana Whitlock</sender>
<recipients>
<recipient display-name="Robin Ashdown" target-type="0">robin.ashdown@halvorn.example</recipient>
</recipients>
</core>
<body>
<plain><![CDATA[Robin,

attached are the delivery notes, a photo of the pallet, the signed contract and Ellis's original request.

Dana
]]></plain>
</body>
<attachments>
<attach display-name="delivery notes.txt" file-name="delivery notes.txt">
<![CDATA[eJxzSc3JLEstqlQwMTc05OVSUDA0UkjKr0gtVnA0UShILEgtAgkaK5Tk56UWKSQnFpUUZaakpxbz
cgWlJqcCtaYoJFVaKQTpKTgWZ6Tkl+fxcgEACf4ZMg==]]>
</attach>
<attach display-name="pallet.png" file-name="pallet.png">
<![CDATA[eJzrDPBz5+WS4mJgYOD19HAJAtIVQBzAwQQkY3+q3QNSnAUekcUMDPyJIMy4wn55JgMDo7Wni2NI
xZy3dzd6OjOKOAQqbzuXmL209d81N5nDinMOKMo45+Qsbg3bdu4hw0mGRR/Z//8VOq95uNlGr19A
yENs9dWs/pdvz+89UK9Y4vKi44LgQmUn95a+HA5bHufNx88VXwQL8D2Le5D/s2KvlGl9RdH/w57i
soJWSsjqOaACJ87Ia8nej+2bVb+7bkbG5JU7kZXcnPie577+Obez8rZ2/ltOhsegmnDzU+2Xn2dP
r/i5/Pblt/My0ndgGk+CgM6+/9e59m/b3fq06OfPg7wLf+rGWSmhqpxoeoVXMuRqrIkEMGwZPF39
XNY5JTQBAE8zoGs=]]>
</attach>
<attach display-name="contract.pdf" file-name="contract.pdf">
<![CDATA[eJxtUl1PwyAUfedX3Jcl+jAptOwjWfYw3WKiRrP1bfGBtXe1S20boGbz1wuluiaVEALnnnvOvcDo
7WEzZncRYRBAdTiRxQJofKkR6L00sqgyoG8yQw3cErawXBIsU0fkgwTPo095qmEfOvq7Vama0gDr
JYb/JrpVoaV6H/qCaS5X1Rn2gQUmjMN0zlu90liahsjztqirRiXW2OltbNRvGIiuYD9/3aOe+zOW
mfmw4i6ujUL5SVZxm8xmEB9hal15AHEKN7umrosLJNZAycTAGHSelZhapL7cQnyCdew8OpnOTQx6
bSuku+Zg2qMDGdCV1Ogjj1h8ockT2av5rPBI7CWQ4G/ARIhQwBGu2Bx8pLxiYjbAGBMDjEdsgIWi
h9mW8wJV28Yu/0aY2IuvKveu3afQRirT1hlxRkaj9euG/ABaxKAk]]>
</attach>
<attach display-name="Please send the contract" obj-type="2">
<msg>
<id>
<class>GW.MESSAGE.MAIL</class>
<account>Robin Ashdown</account>
<mapi>5C21A001.halvorn.po1.100.1.1.1@1</mapi>
</id>
<props>
<core>
<archived>false</archived>
<notify-del>false</notify-del>
<routed>false</routed>
<routed-eol>false</routed-eol>
<read>true</read>
<private>false</private>
<notify-open>false</notify-open>
<hidden>false</hidden>
<opened>true</opened>
<deleted>false</deleted>
<convattach>false</convattach>
<rev-no>1</rev-no>
<reply-days-req>0</reply-days-req>
<reply-req>0</reply-req>
<from>Ellis Fenwick</from>
<subject>Please send the contract</subject>
<view>mail</view>
<date-create>20261201T084500</date-create>
<date-modified>20261201T084500</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
<sender email-type="NGW" email-address="ellis.fenwick@halvorn.example">Ellis Fenwick</sender>
<recipients>
<recipient display-name="Dana Whitlock" target-type="0">dana.whitlock@brantford.example</recipient>
</recipients>
</core>
<body>
<plain><![CDATA[Dana,

could you send us the signed contract?

Thanks, Ellis
]]></plain>
</body>
<email>
<completed>false</completed>
<delegated>false</delegated>
<notify-completed>false</notify-completed>
<date-delivered>20261201T084600</date-delivered>
</email>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</msg>
</attach>
<attach display-name="Header.txt" file-name="Header.txt">
<![CDATA[eJwLSk1OzSxLTbFSSCvKz1XITczM0UsqSswrScsvStFLrUjMLchJ5eXyTS0uTkxP1fV0sVKwMTE3
NHTAUGTHywUAKlUabQ==]]>
</attach>
<attach display-name="Mime.822" file-name="Mime.822">
<![CDATA[eJw1y0EKwjAQQNF9IHeYA0gOUES6EA9gBdfTZCTRdKZMpq3eXgVdPvj/pDJ1cERGuOZiVeID9unD
sP3Yj4psN9EU6InTXOng3UU6UBkLB2w5ycZ9xrqK8r/xbljGO0XrYFjmuRZSSBKXidiad96dv/cO
0AxjpgSoBJYJEtWykr6AxagF796L8Tlt]]>
</attach>
<attach display-name="price list.xls" file-name="price list.xls">
</attach>
</attachments>
<email>
<completed>false</completed>
<delegated>false</delegated>
<notify-completed>false</notify-completed>
<date-delivered>20261205T110431</date-delivered>
<forwarded>true</forwarded>
</email>
</props>
<save-log date-saved="20261205T120000" status="-1">
<item type="0">Saved by the archiver</item>
<item type="1">Attachment 'price list.xls' could not be read.</item>
</save-log>
</message>
